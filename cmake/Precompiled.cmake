# Headers every translation unit of a target parses again and again (the
# standard library, glm, JSON, SDL, GLEW, GoogleTest), compiled once per
# target. Only outside headers go in here: our own headers change too often
# for a precompiled copy to pay, and forcing them into every file would hide
# a missing include.
set(SOLVANE_PCH_STD
  <algorithm> <cstdint> <functional> <map> <memory> <set> <sstream> <string>
  <unordered_map> <vector>)
set(SOLVANE_PCH_MATH <glm/glm.hpp> <glm/gtc/matrix_transform.hpp> <nlohmann/json.hpp>)
set(SOLVANE_PCH_MEDIA <GL/glew.h> <SDL.h>)
set(SOLVANE_PCH_TEST <gtest/gtest.h> <gmock/gmock.h>)

# solvane_precompile(TARGET LEVEL): LEVEL std, math (std + glm + JSON) or
# media (math + GLEW + SDL); tests add GoogleTest on top. The first target of
# each kind compiles the headers; later ones of the same kind reuse its copy,
# which is built with the same options (a test's optimisation differs from a
# library's, so tests are a kind of their own). Compiling the same headers
# once per target was a sixth of the build.
function(solvane_precompile target level)
  get_target_property(_type ${target} TYPE)
  set(_kind ${level})
  if(_type STREQUAL "EXECUTABLE" AND ARGN STREQUAL "test")
    set(_kind ${level}_test)
  endif()
  get_property(_owner GLOBAL PROPERTY SOLVANE_PCH_OWNER_${_kind})
  if(_owner)
    target_precompile_headers(${target} REUSE_FROM ${_owner})
    return()
  endif()
  set_property(GLOBAL PROPERTY SOLVANE_PCH_OWNER_${_kind} ${target})
  set(_headers ${SOLVANE_PCH_STD})
  if(level STREQUAL "math" OR level STREQUAL "media")
    list(APPEND _headers ${SOLVANE_PCH_MATH})
  endif()
  if(level STREQUAL "media")
    list(APPEND _headers ${SOLVANE_PCH_MEDIA})
  endif()
  if(_kind STREQUAL "${level}_test")
    list(APPEND _headers ${SOLVANE_PCH_TEST})
  endif()
  target_precompile_headers(${target} PRIVATE ${_headers})
endfunction()
