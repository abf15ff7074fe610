# A source that no target takes must fail the configure step and be named
# (cmake/EverySourceBuilt.cmake), or it would silently never compile. A copy
# of the project's build is configured with a stray source in each folder
# the check watches.
#   cmake -DSOURCE=<project folder> -DSCRATCH=<folder to work in> -P EverySourceBuiltTest.cmake
set(_watched engine game tools)
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${SOURCE}/CMakeLists.txt ${SOURCE}/cmake DESTINATION ${SCRATCH}/source)
foreach(_folder IN LISTS _watched)
  file(COPY ${SOURCE}/${_folder} DESTINATION ${SCRATCH}/source)
  file(WRITE ${SCRATCH}/source/${_folder}/Stray.cpp "")
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SCRATCH}/source -B ${SCRATCH}/build -DSOLVANE_BUILD_TESTS=OFF -DSOLVANE_BUILD_BENCH=OFF
  RESULT_VARIABLE _result ERROR_VARIABLE _said OUTPUT_QUIET)
file(REMOVE_RECURSE ${SCRATCH})
if(_result EQUAL 0)
  message(FATAL_ERROR "The configure step passed with a source no target takes in each of: ${_watched}")
endif()
foreach(_folder IN LISTS _watched)
  string(FIND "${_said}" "${_folder}/Stray.cpp" _at)
  if(_at EQUAL -1)
    message(FATAL_ERROR "${_folder}/Stray.cpp, which no target takes, was not named:\n${_said}")
  endif()
endforeach()
