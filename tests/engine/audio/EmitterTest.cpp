#include "NullDeviceFixture.h"
#include "RecordingSoundSystem.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/audio/MasterVolume.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/Camera.h"
#include "engine/render/Renderer.h"

#include <nlohmann/json.hpp>
#include <optional>

namespace {

using Calls = std::vector<std::string>;

class AudioComponents : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::MasterVolume::music = 0.5f;
        Engine::MasterVolume::sfx = 0.5f;
    }
    void TearDown() override
    {
        Engine::Emitter::SetVelocityLookup(nullptr);
        Engine::Renderer::GetInstance().editorCamera = nullptr;
        SoundSystem::Install(nullptr);
    }

    static Engine::EntityHandle Placed(const glm::vec3& position)
    {
        Engine::EntityHandle entity;
        entity.Create();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = position;
        return entity;
    }

    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
    Engine::Emitter emitter;
};

std::optional<glm::vec3> BodyMovingAlongX(Engine::EntityHandle) { return glm::vec3(3, 0, 0); }
std::optional<glm::vec3> NoBody(Engine::EntityHandle) { return std::nullopt; }

TEST_F(AudioComponents, GainIsTheSoundsVolumeTimesItsMasterVolumeAppliedAtOnce)
{
    emitter.AddSound("Music", "music.wav", false);
    emitter.AddSound("Hit", "hit.wav", true);
    Engine::MasterVolume::sfx = 0.25f;

    emitter.SetVolume("Music", 0.4f);
    emitter.SetVolume("Hit", 0.4f);
    EXPECT_EQ(audio.calls, (Calls{"SetVolume music.wav 0.2", "SetVolume hit.wav 0.1"}));

    audio.calls.clear();
    emitter.Play("Hit", false, true);
    EXPECT_EQ(audio.calls, (Calls{"Play hit.wav loop=0 overlap=1", "SetVolume hit.wav 0.1"}))
        << "the gain is applied at once, not a frame later";
}

TEST_F(AudioComponents, EachFramePlacesAndRemixesOnlyWhatWasPlayed)
{
    emitter.SetOwner(Placed(glm::vec3(1, 2, 3)));
    emitter.AddSound("Run", "run.wav", true);
    emitter.AddSound("Idle", "idle.wav", true);
    emitter.Play("Run", true, false);
    audio.calls.clear();

    Engine::MasterVolume::sfx = 1.0f;
    emitter.Update();
    EXPECT_EQ(audio.calls, (Calls{"SetSourcePosition run.wav (1,2,3)", "SetVolume run.wav 0.4"}));

    emitter.Pause("Run");
    audio.calls.clear();
    emitter.Update();
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_FALSE(emitter.IsPlaying("Run"));
}

TEST_F(AudioComponents, SourcesFollowTheBodysVelocityOnlyWhenThereIsOne)
{
    emitter.AddSound("Ball", "ball.wav", true);
    emitter.Play("Ball", true, false);
    emitter.Update(); // no physics side installed
    Engine::Emitter::SetVelocityLookup(&NoBody);
    emitter.Update();
    Engine::Emitter::SetVelocityLookup(&BodyMovingAlongX);
    emitter.Update();
    EXPECT_EQ(audio.CallsStartingWith("SetSourceVelocity"), (Calls{"SetSourceVelocity ball.wav (3,0,0)"}));
}

TEST_F(AudioComponents, NamesThatWereNeverAddedAreIgnored)
{
    emitter.Play("Ghost", true, true);
    emitter.Pause("Ghost");
    emitter.Rewind("Ghost");
    emitter.SetVolume("Ghost", 1.0f);
    emitter.SetAllowOverlap("Ghost", true);
    emitter.RemoveSound("Ghost");
    EXPECT_FALSE(emitter.IsFinished("Ghost") || emitter.IsPlaying("Ghost"));
    emitter.Update();
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_EQ(emitter.GetSound("Ghost"), nullptr);
}

TEST_F(AudioComponents, SceneListsGiveEffectsAtTheDefaultVolumeNotPlayingAndOnlyForNamedFiles)
{
    emitter.GetPropertyMap().FromJson(nlohmann::json::parse(R"({
        "filepath": {"vector_values": [{"value": "data/Sounds/Sfx/Running1.wav"}, {"value": "b.wav"}]},
        "names": {"vector_values": [{"value": "Run"}]}})"));
    emitter.Initialize();

    ASSERT_NE(emitter.GetSound("Run"), nullptr);
    EXPECT_EQ(emitter.GetSound("Run")->path, "data/Sounds/Sfx/Running1.wav");
    EXPECT_FALSE(emitter.IsPlaying("Run"));
    Engine::MasterVolume::music = 0.0f;
    emitter.Play("Run", false, false);
    EXPECT_EQ(audio.CallsStartingWith("SetVolume"), (Calls{"SetVolume data/Sounds/Sfx/Running1.wav 0.2"}));

    Engine::Emitter unnamed;
    unnamed.GetPropertyMap().FromJson(nlohmann::json::parse(R"({
        "names": {"vector_values": [{"value": "A"}, {"value": "B"}]}})"));
    unnamed.Initialize();
    EXPECT_EQ(unnamed.GetSound("A"), nullptr);
}

TEST_F(AudioComponents, SavedListsLoadTheSameSounds)
{
    emitter.AddSound("Run", "run.wav", true);
    emitter.AddSound("Hit", "hit.wav", true);
    emitter.AddSound("Run", "run2.wav", true); // replaces, keeps one entry per name
    emitter.AddSound("Gone", "gone.wav", true);
    emitter.RemoveSound("Gone");
    nlohmann::json document;
    emitter.GetPropertyMap().ToJson(document);

    Engine::Emitter loaded;
    loaded.GetPropertyMap().FromJson(document);
    loaded.Initialize();
    ASSERT_NE(loaded.GetSound("Run"), nullptr);
    EXPECT_EQ(loaded.GetSound("Run")->path, "run2.wav");
    EXPECT_EQ(loaded.GetSound("Hit")->path, "hit.wav");
    EXPECT_EQ(loaded.GetSound("Gone"), nullptr);
}

TEST_F(AudioComponents, ListenerStandsAtItsEntityFacingTheWayTheEditorCameraFaces)
{
    Engine::Listener listener;
    listener.SetOwner(Placed(glm::vec3(0, 4, -2)));
    listener.Update(); // before the renderer has made its camera
    Engine::EditorCamera camera;
    camera.forward = glm::vec3(1, 0, 0);
    camera.up = glm::vec3(0, 0, 1);
    Engine::Renderer::GetInstance().editorCamera = &camera;
    listener.Update();
    EXPECT_EQ(audio.calls, (Calls{"SetListenerPosition (0,4,-2)", "SetListenerOrientation (0,0,-1) (0,1,0)",
                                  "SetListenerPosition (0,4,-2)", "SetListenerOrientation (1,0,0) (0,0,1)"}));
}

TEST_F(NullDeviceTest, AnEmittersGainReachesTheSourceAndRemovingTheSoundStopsIt)
{
    Engine::MasterVolume::music = 0.5f;
    Engine::Emitter emitter;
    emitter.AddSound("Music", kLong, false);
    emitter.Play("Music", true, false);
    emitter.SetVolume("Music", 0.4f);
    ASSERT_EQ(system->ChannelsCreated(), 1u);
    EXPECT_FLOAT_EQ(Gain(SourceOf(*emitter.GetSound("Music"))), 0.2f);

    emitter.RemoveSound("Music");
    EXPECT_FALSE(system->GetChannel(0)->in_use);
}

} // namespace
