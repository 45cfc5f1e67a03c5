# Tests of the geodex command: they run the real binary.
if(TARGET geodex_cli)
  file(GLOB TOOL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(tool_tests ${TOOL_TEST_SOURCES})
  target_link_libraries(tool_tests PRIVATE GTest::gtest GTest::gtest_main geodex_cli_core ${GEODEX_ORACLES})
  target_compile_definitions(tool_tests PRIVATE GEODEX_BIN="$<TARGET_FILE:geodex_cli>"
                             GEODEX_MANPAGE="${PROJECT_SOURCE_DIR}/tools/geodex/geodex.1")
  add_dependencies(tool_tests geodex_cli)
  gtest_discover_tests(tool_tests DISCOVERY_TIMEOUT 120)
endif()
