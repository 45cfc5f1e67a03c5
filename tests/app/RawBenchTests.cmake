# GUI tests of RawBench: the real widgets, driven with QTest events, on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)

file(GLOB RAWBENCH_GUI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/gui/*.cpp)
if(TARGET rawbench_core AND RAWBENCH_GUI_TEST_SOURCES)
  add_executable(rawbench_gui_tests ${RAWBENCH_GUI_TEST_SOURCES})
  target_link_libraries(rawbench_gui_tests PRIVATE rawbench_core Qt6::Test GTest::gtest)
  target_include_directories(rawbench_gui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(rawbench_gui_tests PRIVATE
    RAWBENCH_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
  gtest_discover_tests(rawbench_gui_tests DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
