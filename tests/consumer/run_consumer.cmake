# Builds and runs a tiny outside program against an installed Geodex, found once through its CMake package and
# once through pkg-config. PREFIX: an installed tree to use (an unpacked package, say); without it the build in
# BINARY_DIR is installed into a scratch prefix first.
function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
if(NOT PREFIX)
  set(PREFIX ${WORK_DIR}/prefix)
  step("install" ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${PREFIX})
endif()
file(GLOB_RECURSE pc ${PREFIX}/*/pkgconfig/geodex.pc)
if(NOT pc)
  message(FATAL_ERROR "no geodex.pc under ${PREFIX}")
endif()
get_filename_component(pcdir ${pc} DIRECTORY)
get_filename_component(libdir ${pcdir} DIRECTORY)

# The CMake package.
step("consumer configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${WORK_DIR}/build
     -DCMAKE_PREFIX_PATH=${PREFIX})
step("consumer build" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
step("consumer run (CMake package)" ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir} ${WORK_DIR}/build/consumer)

# pkg-config, as a Makefile would use it: c++ main.cpp $(pkg-config --cflags --libs geodex).
find_program(CXX NAMES c++ g++ clang++ REQUIRED)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pcdir} pkg-config --cflags --libs geodex
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not find geodex in ${pcdir}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
step("consumer build (pkg-config)" ${CXX} -std=c++17 ${SOURCE_DIR}/tests/consumer/main.cpp ${flags}
     -o ${WORK_DIR}/consumer-pc)
step("consumer run (pkg-config)" ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir} ${WORK_DIR}/consumer-pc)
