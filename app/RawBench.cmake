# The RawBench desktop program. Everything but the entry point goes into the static library rawbench_core,
# which the GUI tests and benchmarks link as well.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)

file(GLOB RAWBENCH_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/antenna/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/antenna/*.h)
list(REMOVE_ITEM RAWBENCH_CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
file(GLOB RAWBENCH_FORMS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/*.ui)

add_library(rawbench_core STATIC ${RAWBENCH_CORE_SOURCES} ${RAWBENCH_FORMS}
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons.qrc)
set_target_properties(rawbench_core PROPERTIES
  AUTOMOC ON AUTOUIC ON AUTORCC ON
  AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_include_directories(rawbench_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/antenna)
target_link_libraries(rawbench_core PUBLIC rawfile Geodex Qt6::Widgets)

add_executable(RawBench ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(RawBench PRIVATE rawbench_core)

install(TARGETS RawBench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/rawbench.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/rawbench.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
