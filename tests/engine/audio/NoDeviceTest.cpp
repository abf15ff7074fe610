#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/audio/Sound.h"
#include "engine/audio/SoundSystem.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Every operation of the interface on one sound; none may fail, and the
// getters of a silent system answer zero.
void UseEverything(DummySoundSystem& audio, Sound& sound)
{
    audio.Init();
    audio.Update();
    audio.Play(sound, true, false);
    audio.Rewind(sound);
    audio.Pause(sound);
    audio.StartFade(sound, 1.0f);
    audio.ReleaseChannel(0);
    audio.ReleaseChannel(0xFFFFFFFFu);
    audio.SetVolume(sound, 1.0f);
    audio.SetAllowOverlap(sound, 1);
    audio.SetSourcePosition(sound, 1, 2, 3);
    audio.SetSourceVelocity(sound, 1, 2, 3);
    audio.SetListenerPosition(1, 2, 3);
    audio.SetListenerVelocity(1, 2, 3);
    audio.SetListenerOrientation(glm::vec3(1, 0, 0), glm::vec3(0, 0, 1));
    audio.SetFinishedCallback(sound, [] {});
    EXPECT_EQ(audio.GetVolume(sound) + audio.GetAllowOverlap(sound), 0.0f);
    EXPECT_EQ(audio.GetSourcePosition(sound) + audio.GetSourceVelocity(sound) + audio.GetListenerPosition()
                  + audio.GetListenerVelocity(),
              glm::vec3(0.0f));
    audio.Shutdown();
}

} // namespace

// Opens a device that does not exist, as on a machine without audio.
TEST(NoDevice, CreateInstallsTheSilentSystemAndEveryOperationIsHarmless)
{
    SoundSystem::SetDeviceName("no such device");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SoundSystem::Create());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("DEBUG: Not able to load the devide(OpenAL)\n"),
              std::string::npos);
    ASSERT_NE(SoundSystem::GetInstance(), nullptr);
    EXPECT_EQ(dynamic_cast<SoundSystem*>(SoundSystem::GetInstance()), nullptr);
    DummySoundSystem& audio = *SoundSystem::GetInstance();

    Sound sound("data/Sounds/Sfx/HoveringOnMenu.wav");
    EXPECT_EQ(sound.GetBuffer(), 0u);
    UseEverything(audio, sound);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(audio.IsFinished(sound));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "DEBUG: IsFinished on dummy system called\n");
    SoundSystem::SetDeviceName("");
    SoundSystem::Install(nullptr);
}

TEST(NoSystem, SoundsEmittersAndListenersWorkBeforeStartUpAndAfterShutdown)
{
    ASSERT_EQ(SoundSystem::GetInstance(), nullptr);
    {
        Engine::Emitter emitter;
        emitter.AddSound("Click", "data/Sounds/Sfx/OnClickMenu2.wav", true);
        emitter.Play("Click", false, false);
        emitter.Update();
        EXPECT_FALSE(emitter.IsFinished("Click"));
        emitter.Shutdown();
        Engine::Listener().Update();
    }
    SoundSystem::Create();
    auto sound = std::make_unique<Sound>("data/Sounds/Sfx/OnClickMenu2.wav");
    SoundSystem::GetInstance()->Play(*sound, false, false);
    SoundSystem::GetInstance()->Shutdown();
    ASSERT_EQ(SoundSystem::GetInstance(), nullptr);
    UseEverything(SoundSystem::InstanceOrSilent(), *sound);
    sound.reset();
}
