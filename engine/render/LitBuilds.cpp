#include "engine/render/LitBuilds.h"

namespace Engine {

namespace {

const char* LightDefine(LightKinds kinds)
{
    switch (kinds) {
    case LightKinds::None:
        return "#define NO_LIGHTS\n";
    case LightKinds::Point:
        return "#define POINT_LIGHTS\n";
    case LightKinds::Any:
        break;
    }
    return "";
}

} // namespace

void LitBuilds::Add(const ShaderProgram& registered, const std::string& vertexPath, const std::string& fragmentPath,
                    const std::string& defines)
{
    struct Maps {
        bool oneColourNormal;
        bool greyPair;
    };
    for (LightKinds lights : {LightKinds::None, LightKinds::Point, LightKinds::Any}) {
        for (Maps maps : {Maps{false, false}, Maps{true, false}, Maps{true, true}}) {
            if (lights == LightKinds::Any && !maps.oneColourNormal)
                continue; // the registered program itself
            const std::string all = defines + LightDefine(lights) +
                                    (maps.oneColourNormal ? "#define ONE_COLOUR_NORMAL_MAP\n" : "") +
                                    (maps.greyPair ? "#define GREY_PAIR\n" : "");
            auto program = std::make_unique<ShaderProgram>(vertexPath.c_str(), fragmentPath.c_str(), all);
            program->cullMode = registered.cullMode;
            if (program->Linked())
                mBuilds.push_back({&registered, lights, maps.oneColourNormal, maps.greyPair, std::move(program)});
        }
    }
}

const ShaderProgram* LitBuilds::Find(const ShaderProgram& registered, LightKinds lights, bool oneColourNormal,
                                     bool greyPair) const
{
    if (lights == LightKinds::Any && !oneColourNormal && !greyPair)
        return &registered;
    for (const Build& build : mBuilds)
        if (build.registered == &registered && build.lights == lights && build.oneColourNormal == oneColourNormal &&
            build.greyPair == greyPair)
            return build.program.get();
    return nullptr;
}

const LitBuilds::Build* LitBuilds::BuildOf(const ShaderProgram& program) const
{
    for (const Build& build : mBuilds)
        if (build.program.get() == &program)
            return &build;
    return nullptr;
}

const ShaderProgram& LitBuilds::GreyPair(const ShaderProgram& program) const
{
    const Build* build = BuildOf(program);
    if (!build || !build->oneColourNormal || build->greyPair)
        return program;
    const ShaderProgram* pair = Find(*build->registered, build->lights, true, true);
    return pair ? *pair : program;
}

const ShaderProgram& LitBuilds::ForLights(const ShaderProgram& registered, LightKinds kinds) const
{
    const ShaderProgram* build = Find(registered, kinds, false);
    return build ? *build : registered;
}

const ShaderProgram& LitBuilds::OneColourNormal(const ShaderProgram& program) const
{
    const Build* build = BuildOf(program);
    if (build && build->oneColourNormal)
        return program;
    const ShaderProgram* oneColour =
        build ? Find(*build->registered, build->lights, true) : Find(program, LightKinds::Any, true);
    return oneColour ? *oneColour : program;
}

std::vector<const ShaderProgram*> LitBuilds::All(const ShaderProgram& registered) const
{
    std::vector<const ShaderProgram*> all{&registered};
    for (const Build& build : mBuilds)
        if (build.registered == &registered)
            all.push_back(build.program.get());
    return all;
}

} // namespace Engine
