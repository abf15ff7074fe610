# Sources are found by globs over chosen folders, so a file put one folder
# too high or too deep, or in a folder no call names, would be left out of
# the build without a word: its tests never run, its code never compiles.
#
# solvane_every_source_built(PATTERN...): called at the end of a folder's
# CMakeLists.txt, fails the configure step naming each file under that folder
# matching a PATTERN (e.g. *.cpp) that no target of the folder takes. Folders
# below it with a CMakeLists.txt of their own are a build of their own and
# are not looked at. A header in a folder without a .cpp is not named: a
# folder of headers only needs no target, its headers compile where they are
# included. The glob is redone at every build, so a file added later fails
# the build that would have left it out.
function(solvane_every_source_built)
  set(_root ${CMAKE_CURRENT_SOURCE_DIR})
  set(_taken)
  get_property(_targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(_target IN LISTS _targets)
    get_target_property(_sources ${_target} SOURCES)
    foreach(_source IN LISTS _sources)
      cmake_path(ABSOLUTE_PATH _source BASE_DIRECTORY ${_root} NORMALIZE)
      list(APPEND _taken ${_source})
    endforeach()
  endforeach()

  file(GLOB_RECURSE _builds CONFIGURE_DEPENDS ${_root}/*/CMakeLists.txt)
  list(TRANSFORM _builds REPLACE "/CMakeLists.txt$" "/")
  set(_patterns ${ARGN})
  list(TRANSFORM _patterns PREPEND ${_root}/)
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS ${_patterns})

  set(_left)
  foreach(_file IN LISTS _files)
    if(_file IN_LIST _taken)
      continue()
    endif()
    set(_exempt FALSE)
    foreach(_build IN LISTS _builds)
      string(FIND ${_file} ${_build} _at)
      if(_at EQUAL 0)
        set(_exempt TRUE)
      endif()
    endforeach()
    if(NOT _exempt AND _file MATCHES "\\.h$")
      cmake_path(GET _file PARENT_PATH _folder)
      file(GLOB _beside ${_folder}/*.cpp)
      if(NOT _beside)
        set(_exempt TRUE)
      endif()
    endif()
    if(NOT _exempt)
      file(RELATIVE_PATH _file ${PROJECT_SOURCE_DIR} ${_file})
      list(APPEND _left ${_file})
    endif()
  endforeach()
  if(_left)
    list(JOIN _left "\n  " _named)
    file(RELATIVE_PATH _here ${PROJECT_SOURCE_DIR} ${_root}/CMakeLists.txt)
    message(SEND_ERROR "No target of ${_here} builds these files, so the build would leave them "
                       "out:\n  ${_named}\nPut each in a folder that one of its calls takes, or name "
                       "the folder in a call.")
  endif()
endfunction()
