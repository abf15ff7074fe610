#pragma once
#include <glm/glm.hpp>
#include <memory>
#include <optional>

namespace Engine {

class Texture;
class ShaderProgram;

// The texture maps of one surface. Maps are not owned: the renderer's
// texture registry keeps them.
class Material {
public:
    // Sampler locations and mask bits that every lit program declares.
    static constexpr int kDiffuseLocation = 2;
    static constexpr int kNormalLocation = 3;
    static constexpr int kSpecularLocation = 4;
    static constexpr int kFourthLocation = 5;
    static constexpr int kMaskLocation = 6;

    Material(Texture* diffuse, Texture* normal, Texture* specular, Texture* fourth);

    // Binds each present map on its unit (diffuse 0, normal 1, specular 2,
    // fourth 3), points its sampler there, and sets the mask of present maps.
    // With `greyPair` the pair (see GreyPair) stands on the diffuse unit
    // for both maps, for a program built to read it.
    void Bind(const ShaderProgram& shader, bool greyPair = false) const;

    // A null material binds no map and clears the mask: the previous draw's
    // maps must not show through.
    static void Bind(const Material* material, const ShaderProgram& shader, bool greyPair = false);

    // The diffuse and specular maps as one texture when both are opaque
    // grey images of one size (see Texture::GreyPair), made at the first
    // call for the maps the material has then; nothing otherwise.
    const Texture* GreyPair() const;

    // The one texel (0-1) of a normal map whose texels are all alike, which
    // a program built for such maps takes instead of reading the map;
    // nothing for other maps or none.
    std::optional<glm::vec3> NormalTexel() const;

    Texture* diffuse = nullptr;
    Texture* specular = nullptr;
    Texture* normal = nullptr;
    Texture* fourth = nullptr;

private:
    // Shared so that a copied material keeps its pair.
    mutable std::shared_ptr<const Texture> mGreyPair;
    mutable const Texture* mPairedDiffuse = nullptr;
    mutable const Texture* mPairedSpecular = nullptr;
};

} // namespace Engine
