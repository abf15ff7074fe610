#pragma once
// COLLADA 1.4.1 document of one skinned mesh with a joint chain and one
// animation, the parts our importer needs:
//
//   library_geometries   the mesh: positions, normals, texture coordinates
//                        (v from the top, as in our OBJ files), triangles
//                        whose three inputs share one index per corner
//   library_controllers  a skin: bind shape matrix (identity), joint names,
//                        inverse bind matrices (16 floats each, row by row),
//                        per-vertex joint and weight pairs
//   library_animations   one animation: key times, 4x4 matrix keys per joint
//                        (LINEAR), one channel per joint aimed at
//                        "<joint>/transform"
//   library_visual_scenes  the joints as nested JOINT nodes (id = name = sid),
//                        then the node that instances the skin
//
// Matrices are written row by row, as COLLADA reads them.
#include <string>
#include <utility>
#include <vector>

#include <glm/mat4x4.hpp>

#include "tools/art/Mesh.h"

namespace Art {

struct Joint {
    std::string name;
    int parent; // -1 for the root; parents come before their children
    glm::mat4 rest; // relative to the parent
    std::vector<glm::mat4> keys; // relative to the parent, one per key time
};

struct SkinnedModel {
    std::string name;
    Mesh mesh;
    std::vector<Joint> joints;
    // Per vertex: (joint index, weight) pairs that sum to 1.
    std::vector<std::vector<std::pair<int, float>>> weights;
    std::string animationName;
    std::vector<float> keyTimes; // seconds
};

std::string WriteCollada(const SkinnedModel& model);

} // namespace Art
