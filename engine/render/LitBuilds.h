#pragma once
#include "engine/render/LightLimits.h"
#include "engine/render/ShaderProgram.h"

#include <memory>
#include <string>
#include <vector>

namespace Engine {

// The floor's lit programs built again, each to leave out what some frames
// do not need: the light kinds the frame's lights lack (all of the light
// loop when there are none), and the read of a normal map of one colour
// (see Material::NormalTexel), whose colour comes as a value instead, and
// with it the second read of a grey diffuse and highlight map pair (see
// Material::GreyPair), which the floor's materials have. A
// software rasteriser runs every instruction of a program for every pixel,
// branches not taken included, so a leaner build draws the same picture for
// less; on a graphics card it costs nothing either.
class LitBuilds {
public:
    // The builds of `registered`, compiled from the same files with its own
    // `defines` and those of each build. A build that fails to link is left
    // out, and the registered program stands in for it.
    void Add(const ShaderProgram& registered, const std::string& vertexPath, const std::string& fragmentPath,
             const std::string& defines);
    void Clear() { mBuilds.clear(); }

    // The build of `registered` for lights of `kinds` that reads the normal
    // map; `registered` itself for any kind, or when it has no builds.
    const ShaderProgram& ForLights(const ShaderProgram& registered, LightKinds kinds) const;
    // The build that takes a one-colour normal map as a value, for the same
    // lights as `program` (a registered program or one of its builds);
    // `program` itself when there is none.
    const ShaderProgram& OneColourNormal(const ShaderProgram& program) const;
    // The build of a one-colour normal build `program` that reads a grey
    // pair instead of the diffuse and highlight maps; `program` itself for
    // any other program.
    const ShaderProgram& GreyPair(const ShaderProgram& program) const;
    // `registered` and every build of it, for uniforms they all keep.
    std::vector<const ShaderProgram*> All(const ShaderProgram& registered) const;

private:
    struct Build {
        const ShaderProgram* registered;
        LightKinds lights;
        bool oneColourNormal;
        bool greyPair;
        std::unique_ptr<ShaderProgram> program;
    };
    const ShaderProgram* Find(const ShaderProgram& registered, LightKinds lights, bool oneColourNormal,
                              bool greyPair = false) const;
    const Build* BuildOf(const ShaderProgram& program) const;

    std::vector<Build> mBuilds;
};

} // namespace Engine
