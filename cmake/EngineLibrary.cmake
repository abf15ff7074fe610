# One static library per source folder. Sources are globbed so that adding a
# file never means editing a list; CONFIGURE_DEPENDS re-runs the glob on build.
function(solvane_library name dir)
  file(GLOB _sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# One test executable per test folder, or per few neighbouring ones; every
# test runs in its own process (PRE_TEST discovery) so singletons start fresh
# and nothing needs a display at build time. Each executable also passes run
# whole, in one process: the fixtures put back what a test may leave in the
# singletons. A test's time limit is there to catch a hang, not a slow
# machine: each test may take 300 s (under the sanitizers, on a machine
# loaded three times over, some take two minutes), or SOLVANE_TEST_TIMEOUT
# seconds when the caller sets it. A caller whose tests run long sets
# SOLVANE_TEST_COST: CTest starts the costliest first, so a run on many cores
# does not end waiting on a minute-long match started last. A caller whose
# tests keep time with the real clock sets SOLVANE_TEST_SERIAL: CTest runs
# each of them alone, so that the tests beside it in a parallel run cannot
# starve it.
function(solvane_test name dir)
  set(_timeout 300)
  if(SOLVANE_TEST_TIMEOUT)
    set(_timeout ${SOLVANE_TEST_TIMEOUT})
  endif()
  set(_serial FALSE)
  if(SOLVANE_TEST_SERIAL)
    set(_serial TRUE)
  endif()
  set(_cost 0)
  if(SOLVANE_TEST_COST)
    set(_cost ${SOLVANE_TEST_COST})
  endif()
  # `dir` may list several test folders that share one executable.
  set(_sources)
  foreach(_dir IN LISTS dir)
    file(GLOB _found CONFIGURE_DEPENDS "${_dir}/*.cpp" "${_dir}/*.h")
    list(APPEND _sources ${_found})
  endforeach()
  add_executable(${name} ${_sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  # Test code is compiled lightly: it is mostly fixtures and assertions, and
  # the optimiser's time on it is most of the suite's build time. The code
  # under test keeps the build type's optimisation (in the sanitised Debug
  # build, the light one it is given there).
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O1>
                                         $<$<AND:$<CONFIG:Debug>,$<BOOL:${SOLVANE_SANITIZE}>>:-O0>)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT ${_timeout} COST ${_cost} RUN_SERIAL ${_serial} ENVIRONMENT "ALSOFT_DRIVERS=null")
endfunction()
