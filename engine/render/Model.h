#pragma once
#include "engine/render/Mesh.h"

#include <string>
#include <vector>

struct aiMesh;
struct aiNode;
struct aiScene;

namespace Engine {

class ModelBase : public Drawable {};

// An ordered list of meshes, imported from a file or assembled in code.
// Materials of the file are not read: the drawing component names one.
template <class M>
class BasicModel : public ModelBase {
public:
    // Imports the file (triangulated, tangents computed, texture coordinates
    // flipped) and appends its meshes, parents before children. A file that
    // cannot be imported ends the process with a message naming it: every
    // model is required at start-up.
    virtual void Load(const std::string& path);
    virtual void ProcessNode(const aiNode* node, const aiScene* scene);
    virtual M ProcessMesh(const aiMesh* mesh, const aiScene* scene);

    void Draw() const override;

    std::vector<M> meshes;
};

class Model : public BasicModel<Mesh> {
public:
    // Set on the generated hexagonal column (HexagonMesh): instanced draws
    // of it leave out what neighbouring columns hide of its sides.
    bool hexColumn = false;
};

// The same import, keeping the wider animated vertex.
class ModelAnim : public BasicModel<MeshAnim> {};

} // namespace Engine
