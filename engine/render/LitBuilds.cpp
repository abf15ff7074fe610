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
    for (LightKinds lights : {LightKinds::None, LightKinds::Point, LightKinds::Any}) {
        for (bool oneColourNormal : {false, true}) {
            if (lights == LightKinds::Any && !oneColourNormal)
                continue; // the registered program itself
            const std::string all =
                defines + LightDefine(lights) + (oneColourNormal ? "#define ONE_COLOUR_NORMAL_MAP\n" : "");
            auto program = std::make_unique<ShaderProgram>(vertexPath.c_str(), fragmentPath.c_str(), all);
            program->cullMode = registered.cullMode;
            if (program->Linked())
                mBuilds.push_back({&registered, lights, oneColourNormal, std::move(program)});
        }
    }
}

const ShaderProgram* LitBuilds::Find(const ShaderProgram& registered, LightKinds lights, bool oneColourNormal) const
{
    if (lights == LightKinds::Any && !oneColourNormal)
        return &registered;
    for (const Build& build : mBuilds)
        if (build.registered == &registered && build.lights == lights && build.oneColourNormal == oneColourNormal)
            return build.program.get();
    return nullptr;
}

const ShaderProgram& LitBuilds::ForLights(const ShaderProgram& registered, LightKinds kinds) const
{
    const ShaderProgram* build = Find(registered, kinds, false);
    return build ? *build : registered;
}

const ShaderProgram& LitBuilds::OneColourNormal(const ShaderProgram& program) const
{
    const ShaderProgram* registered = &program;
    LightKinds lights = LightKinds::Any;
    for (const Build& build : mBuilds) {
        if (build.program.get() != &program)
            continue;
        if (build.oneColourNormal)
            return program;
        registered = build.registered;
        lights = build.lights;
    }
    const ShaderProgram* oneColour = Find(*registered, lights, true);
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
