#include "NullDeviceFixture.h"
#include "RecordingSoundSystem.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/MasterVolume.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"

#include <nlohmann/json.hpp>
#include <optional>

namespace {

class EmitterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::MasterVolume::music = 0.5f;
        Engine::MasterVolume::sfx = 0.5f;
    }
    void TearDown() override
    {
        Engine::Emitter::SetVelocityLookup(nullptr);
        SoundSystem::Install(nullptr);
    }

    RecordingSoundSystem& audio = RecordingSoundSystem::InstallNew();
};

std::optional<glm::vec3> BodyMovingAlongX(Engine::EntityHandle) { return glm::vec3(3, 0, 0); }
std::optional<glm::vec3> NoBody(Engine::EntityHandle) { return std::nullopt; }

} // namespace

TEST_F(EmitterTest, GainIsTheSoundsVolumeTimesItsMasterVolume)
{
    Engine::Emitter emitter;
    emitter.AddSound("Music", "music.wav", false);
    emitter.AddSound("Hit", "hit.wav", true);
    Engine::MasterVolume::sfx = 0.25f;

    emitter.SetVolume("Music", 0.4f);
    emitter.SetVolume("Hit", 0.4f);
    EXPECT_EQ(audio.CallsStartingWith("SetVolume"),
              (std::vector<std::string>{"SetVolume music.wav 0.2", "SetVolume hit.wav 0.1"}));

    audio.calls.clear();
    emitter.Play("Hit", false, true);
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"Play hit.wav loop=0 overlap=1", "SetVolume hit.wav 0.1"}))
        << "the gain is applied at once, not a frame later";
}

TEST_F(EmitterTest, EachFramePlacesAndRemixesOnlyWhatWasPlayed)
{
    Engine::EntityHandle entity;
    entity.Create();
    Engine::TransformCompManager::GetInstance().AddComponent(entity);
    Engine::Transform::PositionRef(entity) = glm::vec3(1, 2, 3);
    Engine::Emitter emitter;
    emitter.SetOwner(entity);
    emitter.AddSound("Run", "run.wav", true);
    emitter.AddSound("Idle", "idle.wav", true);
    emitter.Play("Run", true, false);
    audio.calls.clear();

    Engine::MasterVolume::sfx = 1.0f;
    emitter.Update();
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"SetSourcePosition run.wav (1,2,3)", "SetVolume run.wav 0.4"}));

    emitter.Pause("Run");
    audio.calls.clear();
    emitter.Update();
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_FALSE(emitter.IsPlaying("Run"));
}

TEST_F(EmitterTest, SourcesFollowTheBodysVelocityOnlyWhenThereIsOne)
{
    Engine::Emitter emitter;
    emitter.AddSound("Ball", "ball.wav", true);
    emitter.Play("Ball", true, false);
    emitter.Update();
    EXPECT_TRUE(audio.CallsStartingWith("SetSourceVelocity").empty()) << "no physics side installed";

    Engine::Emitter::SetVelocityLookup(&NoBody);
    emitter.Update();
    EXPECT_TRUE(audio.CallsStartingWith("SetSourceVelocity").empty());

    Engine::Emitter::SetVelocityLookup(&BodyMovingAlongX);
    emitter.Update();
    EXPECT_EQ(audio.CallsStartingWith("SetSourceVelocity"),
              (std::vector<std::string>{"SetSourceVelocity ball.wav (3,0,0)"}));
}

TEST_F(EmitterTest, NamesThatWereNeverAddedAreIgnored)
{
    Engine::Emitter emitter;
    emitter.Play("Ghost", true, true);
    emitter.Pause("Ghost");
    emitter.Rewind("Ghost");
    emitter.SetVolume("Ghost", 1.0f);
    emitter.SetAllowOverlap("Ghost", true);
    emitter.RemoveSound("Ghost");
    EXPECT_FALSE(emitter.IsFinished("Ghost"));
    EXPECT_FALSE(emitter.IsPlaying("Ghost"));
    emitter.Update();
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_EQ(emitter.GetSound("Ghost"), nullptr);
}

TEST_F(EmitterTest, SceneListsGiveEffectsAtTheDefaultVolumeNotPlayingAndOnlyForNamedFiles)
{
    Engine::Emitter emitter;
    emitter.GetPropertyMap().FromJson(nlohmann::json::parse(R"({
        "filepath": {"vector_values": [{"value": "data/Sounds/Sfx/Running1.wav"}, {"value": "b.wav"}]},
        "names": {"vector_values": [{"value": "Run"}]}})"));
    emitter.Initialize();

    ASSERT_NE(emitter.GetSound("Run"), nullptr);
    EXPECT_EQ(emitter.GetSound("Run")->path, "data/Sounds/Sfx/Running1.wav");
    EXPECT_FALSE(emitter.IsPlaying("Run"));
    Engine::MasterVolume::music = 0.0f;
    emitter.Play("Run", false, false);
    EXPECT_EQ(audio.CallsStartingWith("SetVolume"),
              (std::vector<std::string>{"SetVolume data/Sounds/Sfx/Running1.wav 0.2"}));

    Engine::Emitter unnamed;
    unnamed.GetPropertyMap().FromJson(nlohmann::json::parse(R"({
        "names": {"vector_values": [{"value": "A"}, {"value": "B"}]}})"));
    unnamed.Initialize();
    EXPECT_EQ(unnamed.GetSound("A"), nullptr);
}

TEST_F(EmitterTest, SavedListsLoadTheSameSounds)
{
    Engine::Emitter saved;
    saved.AddSound("Run", "run.wav", true);
    saved.AddSound("Hit", "hit.wav", true);
    saved.AddSound("Run", "run2.wav", true); // replaces, keeps one entry per name
    saved.AddSound("Gone", "gone.wav", true);
    saved.RemoveSound("Gone");
    nlohmann::json document;
    saved.GetPropertyMap().ToJson(document);

    Engine::Emitter loaded;
    loaded.GetPropertyMap().FromJson(document);
    loaded.Initialize();
    ASSERT_NE(loaded.GetSound("Run"), nullptr);
    EXPECT_EQ(loaded.GetSound("Run")->path, "run2.wav");
    EXPECT_EQ(loaded.GetSound("Hit")->path, "hit.wav");
    EXPECT_EQ(loaded.GetSound("Gone"), nullptr);
}

TEST_F(NullDeviceTest, EmitterGainReachesTheSource)
{
    Engine::MasterVolume::music = 0.5f;
    Engine::Emitter emitter;
    emitter.AddSound("Music", kLong, false);
    emitter.Play("Music", true, false);
    emitter.SetVolume("Music", 0.4f);
    EXPECT_FLOAT_EQ(system->GetVolume(*emitter.GetSound("Music")), 0.2f);

    Engine::MasterVolume::music = 1.0f;
    emitter.Update();
    EXPECT_FLOAT_EQ(system->GetVolume(*emitter.GetSound("Music")), 0.4f);

    emitter.RemoveSound("Music");
    EXPECT_FALSE(system->GetChannel(0)->in_use);
}
