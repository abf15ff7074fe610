#include "RecordingSoundSystem.h"

#include "engine/audio/Listener.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/Camera.h"
#include "engine/render/Renderer.h"

#include <gtest/gtest.h>

namespace {

class ListenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::EntityHandle entity;
        entity.Create();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = glm::vec3(0, 4, -2);
        listener.SetOwner(entity);
    }
    void TearDown() override
    {
        Engine::Renderer::GetInstance().editorCamera = nullptr;
        SoundSystem::Install(nullptr);
    }

    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::Listener listener;
};

} // namespace

TEST_F(ListenerTest, StandsAtItsEntityFacingTheWayTheEditorCameraFaces)
{
    listener.Update(); // before the renderer has made its camera
    Engine::EditorCamera camera;
    camera.forward = glm::vec3(1, 0, 0);
    camera.up = glm::vec3(0, 0, 1);
    Engine::Renderer::GetInstance().editorCamera = &camera;
    listener.Update();
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"SetListenerPosition (0,4,-2)",
                                                     "SetListenerOrientation (0,0,-1) (0,1,0)",
                                                     "SetListenerPosition (0,4,-2)",
                                                     "SetListenerOrientation (1,0,0) (0,0,1)"}));
}
