#include "engine/render/Material.h"

#include "engine/render/ShaderProgram.h"
#include "engine/render/Texture.h"

namespace Engine {

Material::Material(Texture* diffuseMap, Texture* normalMap, Texture* specularMap, Texture* fourthMap)
    : diffuse(diffuseMap), specular(specularMap), normal(normalMap), fourth(fourthMap)
{
}

void Material::Bind(const ShaderProgram& shader, bool greyPair) const
{
    const Texture* pair = greyPair ? GreyPair() : nullptr;
    struct Slot {
        const Texture* map;
        int unit;
        int location;
        int bit;
    };
    const Slot slots[] = {
        {pair ? pair : diffuse, 0, kDiffuseLocation, 1},
        {normal, 1, kNormalLocation, 2},
        {pair ? nullptr : specular, 2, kSpecularLocation, 4},
        {fourth, 3, kFourthLocation, 8},
    };
    int mask = 0;
    for (const Slot& slot : slots) {
        if (!slot.map)
            continue;
        glActiveTexture(GL_TEXTURE0 + slot.unit);
        slot.map->Bind();
        shader.SetUniform(slot.location, slot.unit);
        mask |= slot.bit;
    }
    shader.SetUniform(kMaskLocation, pair ? mask | 4 : mask);
}

const Texture* Material::GreyPair() const
{
    if (!diffuse || !specular)
        return nullptr;
    if (diffuse != mPairedDiffuse || specular != mPairedSpecular) {
        mGreyPair = Texture::GreyPair(*diffuse, *specular);
        mPairedDiffuse = diffuse;
        mPairedSpecular = specular;
    }
    return mGreyPair.get();
}

std::optional<glm::vec3> Material::NormalTexel() const
{
    if (!normal || !normal->SingleColour())
        return std::nullopt;
    const auto& texel = *normal->SingleColour();
    return glm::vec3(texel[0], texel[1], texel[2]) / 255.0f;
}

void Material::Bind(const Material* material, const ShaderProgram& shader, bool greyPair)
{
    if (material)
        material->Bind(shader, greyPair);
    else
        shader.SetUniform(kMaskLocation, 0);
}

} // namespace Engine
