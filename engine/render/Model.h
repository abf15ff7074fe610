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
class Model : public ModelBase {
public:
    // Imports the file (triangulated, tangents computed, texture coordinates
    // flipped) and appends its meshes, parents before children. A file that
    // cannot be imported ends the process with a message naming it: every
    // model is required at start-up.
    virtual void Load(const std::string& path);
    virtual void ProcessNode(const aiNode* node, const aiScene* scene);
    virtual Mesh ProcessMesh(const aiMesh* mesh, const aiScene* scene);

    void Draw() const override;

    std::vector<Mesh> meshes;
};

// The same import, keeping the wider animated vertex.
class ModelAnim : public ModelBase {
public:
    void Load(const std::string& path);
    void ProcessNode(const aiNode* node, const aiScene* scene);
    MeshAnim ProcessMesh(const aiMesh* mesh, const aiScene* scene);

    void Draw() const override;

    std::vector<MeshAnim> meshes;
};

} // namespace Engine
