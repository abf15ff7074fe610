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
# media (math + GLEW + SDL); tests add GoogleTest on top.
function(solvane_precompile target level)
  set(_headers ${SOLVANE_PCH_STD})
  if(level STREQUAL "math" OR level STREQUAL "media")
    list(APPEND _headers ${SOLVANE_PCH_MATH})
  endif()
  if(level STREQUAL "media")
    list(APPEND _headers ${SOLVANE_PCH_MEDIA})
  endif()
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE" AND ARGN STREQUAL "test")
    list(APPEND _headers ${SOLVANE_PCH_TEST})
  endif()
  target_precompile_headers(${target} PRIVATE ${_headers})
endfunction()
