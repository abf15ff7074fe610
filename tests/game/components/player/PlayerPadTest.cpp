// A player on one of SDL's virtual game controllers: sticks, the A button,
// and the controller pulled out.
#include "game/components/PlayerScene.h"
#include "support/VirtualPad.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <optional>

namespace {

class PlayerPad : public PlayerScene {
protected:
    void SetUp() override
    {
        PlayerScene::SetUp();
        pad.emplace();
        ASSERT_TRUE(pad->IsPlugged()) << SDL_GetError();
        Frame();
        ASSERT_EQ(Engine::InputManager::GetInstance().GetPlayerControllers().size(), 1u);
        player = SpawnStanding({1.0f, 0.0f, 1.0f}, true);
        ASSERT_EQ(Engine::InputManager::GetInstance().GetPlayerCount(), 1);
    }
    void TearDown() override
    {
        pad.reset();
        PlayerScene::TearDown();
    }

    void Axis(SDL_GameControllerAxis axis, Sint16 value) { pad->Axis(axis, value); }
    void Button(SDL_GameControllerButton button, bool down) { pad->Button(button, down); }

    std::optional<PluggedPad> pad;
    Engine::EntityHandle player;
};

TEST_F(PlayerPad, TheSticksMoveAndTurnThePlayerAndAJumps)
{
    const glm::vec3 view = Camera(player).forward;
    const glm::vec3 right = Camera(player).right;
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32767); // pushed away: forward
    Frames(60);
    const glm::vec3 velocity = Body(player).mVelocity.value;
    EXPECT_GT(glm::dot(glm::normalize(glm::vec2(velocity.x, velocity.z)), glm::normalize(glm::vec2(view.x, view.z))),
              0.999f);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);

    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    Frames(10);
    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    Frames(2);
    EXPECT_GT(glm::dot(Camera(player).forward, right), 0.05f) << "turned right";
    // Held a second, it turns 2.5 radians (the pad's look speed of 10, a
    // quarter radian a second each) at 143 frames a second as at 30.
    const auto yaw = [&] { return std::atan2(Camera(player).forward.x, -Camera(player).forward.z); };
    for (const int milliseconds : {7, 33}) {
        const int frames = 1000 / milliseconds;
        const float before = yaw();
        Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
        Frames(frames, milliseconds);
        Axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
        Frames(3, milliseconds);
        EXPECT_NEAR(std::remainder(yaw() - before, 2.0f * glm::pi<float>()), 2.5f * frames * milliseconds / 1000.0f,
                    0.025f)
            << milliseconds << " ms frames";
    }

    // The keyboard's keys mean nothing to a controller player.
    HoldKey(InputBindings::Jump);
    Frames(3);
    Release(InputBindings::Jump);
    EXPECT_EQ(Component(player).mJumpsUsed, 0);
    // Pumped at the end of a frame, read by the next.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Frame();
    Logic(10);
    EXPECT_FLOAT_EQ(Body(player).mVelocity.value.y, 100.0f);
    EXPECT_EQ(Component(player).mJumpsUsed, 1);
    PhysicsAndInput();
    Button(SDL_CONTROLLER_BUTTON_A, false);
}

TEST_F(PlayerPad, AnUnpluggedControllerIsNoLongerReadAndTheGonePlayerLetsItsBindingGo)
{
    Engine::InputManager& input = Engine::InputManager::GetInstance();
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Frames(30);
    ASSERT_GT(std::fabs(Body(player).mVelocity.value.x) + std::fabs(Body(player).mVelocity.value.z), 1.0f);

    pad->Unplug();
    Frames(2);
    EXPECT_EQ(input.GetPlayerCount(), 0);
    EXPECT_EQ(input.GetLeftStick(player), glm::vec3(0.0f));
    Frames(100);
    EXPECT_LT(glm::length(Body(player).mVelocity.value), 0.01f) << "the stick held at the unplug moves nothing";

    // The player component lets the binding go with it.
    StdoutOf([&] { Engine::LogicManager::GetInstance().RemoveFirst<Player_LogicComp>(player); });
    EXPECT_FALSE(input.ReleaseController(player)) << "already released";
}

} // namespace
