// Under Xvfb: a player's view of a forcefield dome raised across the small
// floor, and of a stun area growing in front of it.
#include "game/components/PlayerScene.h"

#include "game/components/objects/ForcefieldCollider.h"
#include "game/components/objects/StunCollider.h"

namespace {

class PerkObjectShot : public PlayerScene {
protected:
    void BeforeFloor() override { LoadRenderer(); }

    void SetUp() override
    {
        PlayerScene::SetUp();
        player = SpawnStanding({-9.0f, 0.0f, 1.0f});
        LightTheFloor();
        Camera(player).SetTarget(glm::vec3(6.0f, FloorTop() + 2.0f, 1.0f));
        Frames(3);
    }

    Engine::EntityHandle player;
};

TEST_F(PerkObjectShot, ADomeAcrossTheFloor)
{
    Draw();
    const std::array<int, 3> bare = PixelAt(640, 520);
    const Engine::EntityHandle dome = SpawnForcefield({8.0f, FloorTop(), 1.0f}, player);
    Frames(20);
    Draw("forcefield_dome");
    EXPECT_GT(Brightness(PixelAt(640, 520)), Brightness(bare) + 30) << "the shell above the floor glows";
    EXPECT_TRUE(Engine::EntityMgr::GetInstance().IsInUse(dome.GetIndex()));
}

TEST_F(PerkObjectShot, AStunAreaGrowingOnTheFloor)
{
    Draw();
    const std::array<int, 3> bare = PixelAt(640, 330);
    SpawnStunArea({2.0f, FloorTop() + 1.0f, 1.0f}, player);
    Frames(36);
    Draw("stun_area");
    const std::array<int, 3> area = PixelAt(640, 330);
    EXPECT_GT(area[0] + area[1] - 2 * area[2], bare[0] + bare[1] - 2 * bare[2] + 60) << "yellow";
}

} // namespace
