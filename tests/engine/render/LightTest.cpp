#include "FrameTestScene.h"
#include "engine/render/LightLimits.h"

#include <cmath>

namespace {

using Engine::EntityHandle;
using Engine::LightManager;

struct Lights : FrameTestScene {
    void SetUp() override
    {
        FrameTestScene::SetUp();
        program = renderer.shaders.Find("Default");
        program->Use();
    }

    GLint Int(const std::string& name) const
    {
        GLint value = -7;
        glGetUniformiv(program->Id(), glGetUniformLocation(program->Id(), name.c_str()), &value);
        return value;
    }

    // The first three components of a vec3 or vec4 uniform.
    glm::vec3 Vec3(const std::string& name) const
    {
        glm::vec4 value{-7.0f};
        glGetUniformfv(program->Id(), glGetUniformLocation(program->Id(), name.c_str()), &value.x);
        return glm::vec3(value);
    }

    static GLuint BoundOnUnit(int unit, GLenum binding)
    {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint name = 0;
        glGetIntegerv(binding, &name);
        glActiveTexture(GL_TEXTURE0);
        return static_cast<GLuint>(name);
    }

    LightManager& lights = LightManager::GetInstance();
    const Engine::ShaderProgram* program = nullptr;
};

TEST_F(Lights, UploadStopsAtTheArrayLengthInEntityOrder)
{
    lights.UploadLights(*program, "uLights");
    EXPECT_EQ(Int("uLightsSize"), 0);

    std::vector<EntityHandle> owners;
    for (int i = 0; i < Engine::kMaxLights + 2; ++i)
        owners.push_back(Place({static_cast<float>(i), 2.0f, 0.0f}));
    // Added out of order: the upload still walks ascending entities.
    for (auto it = owners.rbegin(); it != owners.rend(); ++it)
        lights.AddComponent(*it);
    lights.GetCompPtr(owners[0])->type = 1;
    lights.GetCompPtr(owners[1])->mDiffuseColor.value = {0.5f, 0.25f, 0.0f, 1.0f};

    program->Use();
    lights.UploadLights(*program, "uLights");
    EXPECT_EQ(Int("uLightsSize"), Engine::kMaxLights);
    EXPECT_EQ(Vec3("uLights[0].position"), glm::vec3(0, 2, 0));
    EXPECT_EQ(Vec3("uLights[7].position"), glm::vec3(7, 2, 0));
    EXPECT_EQ(Vec3("uLights[1].diffuse"), glm::vec3(0.5f, 0.25f, 0.0f));
    EXPECT_EQ(Int("uLights[0].type"), 1);

    // The shadow target of element i waits on unit 4 + i: the map for a
    // light of type 1, the cube for type 0.
    EXPECT_EQ(BoundOnUnit(4, GL_TEXTURE_BINDING_2D), lights.GetCompPtr(owners[0])->ShadowMap().TextureId(0));
    EXPECT_EQ(BoundOnUnit(5, GL_TEXTURE_BINDING_CUBE_MAP), lights.GetCompPtr(owners[1])->ShadowCube().Texture());
    EXPECT_EQ(BoundOnUnit(11, GL_TEXTURE_BINDING_CUBE_MAP), lights.GetCompPtr(owners[7])->ShadowCube().Texture());
    EXPECT_EQ(BoundOnUnit(12, GL_TEXTURE_BINDING_CUBE_MAP), 0u) << "a light past the array bound a texture";
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(Lights, ShadowMatricesStayFiniteAndAddKeepsTheLight)
{
    EntityHandle owner = Place({1, 5, 1});
    Engine::Light& light = *lights.AddComponent(owner).light;
    EXPECT_NEAR(light.GetProjectionMatrix()[0][0], 1.0f / std::tan(60.0f * 3.14159265f / 180.0f), 1e-5f);
    EXPECT_NEAR((light.GetViewMatrix() * glm::vec4(1, 5, -3, 1)).z, -4.0f, 1e-5f);

    light.mInnerAngle.value = 12.0f;
    for (glm::vec3 direction : {glm::vec3(0, -1, 0), glm::vec3(0, 3, 0), glm::vec3(0)}) {
        light.mDirection.value = direction;
        const glm::mat4 view = light.GetViewMatrix();
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                EXPECT_TRUE(std::isfinite(view[c][r])) << direction.y;
    }
    EXPECT_EQ(lights.AddComponent(owner).light, &light);
    EXPECT_FLOAT_EQ(light.mInnerAngle.value, 12.0f);
    EXPECT_EQ(lights.Count(), 1u);
}

} // namespace
