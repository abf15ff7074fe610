// The halo's read-back runs only on a software rasteriser: on a graphics
// card it would stall the pipeline every frame.
#include "FrameTestScene.h"
#include "engine/render/SoftwareRasteriser.h"

namespace {

TEST(SoftwareRasteriser, OnlyMesasProcessorRasterisersAreTakenForOne)
{
    for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa swrast", "Software Rasterizer"})
        EXPECT_TRUE(Engine::NamesSoftwareRasteriser(software)) << software;
    for (const char* card : std::initializer_list<const char*>{"Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
                             "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)",
                             "NVIDIA GeForce GTX 1060/PCIe/SSE2", "", nullptr})
        EXPECT_FALSE(Engine::NamesSoftwareRasteriser(card)) << (card ? card : "null");
}

struct ReadBack : FrameTestScene {
    // A glowing blob before a camera over the whole window, the case where
    // the software path reads its glow back; the read-backs of one frame.
    std::uint64_t ReadBacksOfAFrame()
    {
        const std::uint64_t before = renderer.ReadBacks();
        renderer.Render();
        EXPECT_TRUE(DrainGlErrors().empty());
        return renderer.ReadBacks() - before;
    }
};

TEST_F(ReadBack, AFrameReadsNothingBackUnlessGlRasterisesOnTheProcessor)
{
    EXPECT_EQ(renderer.softwareRasteriser,
              Engine::NamesSoftwareRasteriser(reinterpret_cast<const char*>(glGetString(GL_RENDERER))));
    const RasteriserPath path;
    Glowing({0, 0, 0}, 0.5f, {3, 2.5f, 1});
    AddCamera({0, 0, 10}, {0, 0, 0});
    for (bool blurred : {false, true}) {
        renderer.blurPath = blurred;
        path.Take(false);
        EXPECT_EQ(ReadBacksOfAFrame(), 0u) << blurred;
        // The seam counts: the software path does read back here.
        path.Take(true);
        EXPECT_GT(ReadBacksOfAFrame(), 0u) << blurred;
    }
    renderer.blurPath = false;
}

// Where the read glow shows the halo can't reach, the combine reads neither
// halo nor glow: a lit sphere there, and the glowing blob's halo beside it,
// look as the whole combine draws them; each camera reads its glow back.
TEST_F(ReadBack, TheCombineCutByTheReadGlowDrawsWhatTheWholeOneDraws)
{
    const RasteriserPath path;
    Glowing({-1.5f, 0, 0}, 0.5f, {3, 2.5f, 1});
    Model(Place({2.5f, 0, 0}), "Sphere", "Default").mDiffuseColor.value = {0.3f, 0.7f, 0.9f};
    PointLight({0, 3, 6}, {1, 1, 1});
    for (const bool split : {false, true}) {
        SCOPED_TRACE(split ? "a split screen" : "one camera over the window");
        if (split)
            SplitScreen(true);
        else
            AddCamera({0, 0, 10}, {0, 0, 0});
        std::vector<unsigned char> pictures[2];
        for (bool software : {false, true}) {
            path.Take(software);
            EXPECT_EQ(ReadBacksOfAFrame(), software ? (split ? 2u : 1u) : 0u);
            pictures[software] = WindowPicture();
        }
        EXPECT_LE(LargestDifference(pictures[0], pictures[1]), 1);
        Engine::CameraManager::GetInstance().Clear();
    }
}

} // namespace
