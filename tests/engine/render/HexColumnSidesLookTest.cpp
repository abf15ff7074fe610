#include "InstancedScene.h"
#include "LookCompare.h"
#include "engine/render/Model.h"
#include "engine/render/ViewVolume.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// A field of touching columns six units long at uneven heights, lit from
// one side so that caps and sides differ, seen from above, at a graze over
// the caps, from below and from beside its edge. Leaving out what neighbours hide
// must not change a pixel that matters, from anywhere.
struct ColumnField : InstancedScene {
    static constexpr int kColumns = 91;

    void SetUp() override
    {
        InstancedScene::SetUp();
        renderer.celShading = false;
        std::vector<Engine::EntityHandle> tiles;
        int index = 0;
        for (int q = -5; q <= 5; ++q) {
            for (int r = std::max(-5, -q - 5); r <= std::min(5, -q + 5); ++r, ++index) {
                const float x = 1.5f * static_cast<float>(q);
                const float z = std::sqrt(3.0f) * (static_cast<float>(r) + 0.5f * static_cast<float>(q));
                // Steps of every size: level runs, small and large rises, and
                // every seventh column sunk most of its length.
                float height = 0.4f * std::round(2.0f * std::sin(0.7f * x) * std::cos(0.5f * z));
                if (index % 7 == 3)
                    height -= 4.5f;
                const glm::vec3 colour = glm::mix(glm::vec3(0.2f, 0.6f, 0.9f), glm::vec3(0.9f, 0.5f, 0.2f),
                                                  static_cast<float>(index % 5) / 4.0f);
                const Engine::EntityHandle tile = Tile({x, height, z}, colour * 0.3f, {1.0f, 3.0f, 1.0f});
                Engine::RenderWrapperManager::GetInstance().GetComponent(tile).component->mDiffuseColor.value = colour;
                tiles.push_back(tile);
            }
        }
        floor = &Floor(tiles);
        PointLight({-9.0f, 7.0f, 4.0f}, glm::vec3(0.9f));
        Engine::TransformCompManager::GetInstance().Update();
    }

    void SetColumnSides(bool trimmed) { renderer.models.Find("Hexagon")->hexColumn = trimmed; }

    static std::vector<std::uint8_t> WindowPixels()
    {
        auto [w, h] = Engine::Window::Main()->GetSize();
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    std::vector<std::uint8_t> Frame(bool trimmed, const std::string& shot)
    {
        SetColumnSides(trimmed);
        renderer.Render();
        if (!shot.empty())
            SaveScreenshot(shot);
        return WindowPixels();
    }

    static bool CountsFragments()
    {
        GLint count = 0;
        glGetIntegerv(GL_NUM_EXTENSIONS, &count);
        for (GLint i = 0; i < count; ++i) {
            const auto* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
            if (name && std::string(name) == "GL_ARB_pipeline_statistics_query")
                return true;
        }
        return false;
    }

    // Fragments the floor's draw rasterises for the camera, or 0 where the
    // driver cannot count them.
    std::uint64_t FloorFragments(const Engine::Camera& camera, bool trimmed)
    {
        if (!CountsFragments())
            return 0;
        SetColumnSides(trimmed);
        const glm::mat4 viewProjection = camera.GetProjectionMatrix() * camera.GetViewMatrix();
        const Engine::ShaderProgram& program = *renderer.shaders.Find("Default_Instanced");
        // The draw takes the build for one-colour normal maps when the
        // material has one: both get the view.
        for (const Engine::ShaderProgram* build : {&renderer.OneColourNormalBuild(program), &program}) {
            build->Use();
            build->SetUniform(0, viewProjection);
        }
        glEnable(GL_DEPTH_TEST);
        glClear(GL_DEPTH_BUFFER_BIT);
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
        floor->Draw(program, Engine::ViewVolume(viewProjection, camera.mPos.value));
        glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
        GLuint64 fragments = 0;
        glGetQueryObjectui64v(query, GL_QUERY_RESULT, &fragments);
        glDeleteQueries(1, &query);
        return fragments;
    }

    void TearDown() override { SetColumnSides(true); }

    Engine::InstancedRenderable* floor = nullptr;
};

struct Differences {
    std::size_t pixels = 0;
    double psnr = 0.0;
};

Differences Compare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    Differences d;
    double squared = 0.0;
    for (std::size_t i = 0; i < a.size(); i += 3) {
        bool differs = false;
        for (std::size_t c = 0; c < 3; ++c) {
            const double e = static_cast<double>(a[i + c]) - static_cast<double>(b[i + c]);
            squared += e * e;
            differs = differs || e != 0.0;
        }
        d.pixels += differs ? 1 : 0;
    }
    const double mean = squared / static_cast<double>(a.size());
    d.psnr = mean == 0.0 ? 1000.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
    return d;
}

TEST_F(ColumnField, HiddenSidesLeftOutChangeNothingSeenFromAboveAGrazeBelowOrBeside)
{
    ASSERT_EQ(floor->InstanceCount(), static_cast<std::size_t>(kColumns));
    const struct {
        const char* name;
        glm::vec3 eye;
        glm::vec3 target;
    } views[] = {
        {"above", {2.0f, 14.0f, 14.0f}, {0.0f, 2.0f, 0.0f}},
        {"graze", {16.0f, 4.6f, 3.0f}, {0.0f, 3.0f, 0.0f}},
        {"below", {3.0f, -16.0f, 7.0f}, {0.0f, -3.0f, 0.0f}},
        {"beside", {17.0f, -3.0f, -2.0f}, {0.0f, -2.0f, 0.0f}},
    };
    Engine::GameCamera& camera = AddCamera(views[0].eye, views[0].target);
    for (const auto& view : views) {
        camera.SetPosition(view.eye);
        camera.SetTarget(view.target);
        camera.Update();
        const std::string name = std::string("column_sides_") + view.name;
        const std::vector<std::uint8_t> whole = Frame(false, name + "_whole");
        const std::vector<std::uint8_t> trimmed = Frame(true, name + "_trimmed");
        const Differences d = Compare(whole, trimmed);
        EXPECT_LE(d.pixels, whole.size() / 3 / 1000) << view.name;
        EXPECT_GE(d.psnr, 50.0) << view.name;
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(ColumnField, TheFloorRasterisesFarFewerFragmentsWithoutItsHiddenSides)
{
    Engine::GameCamera& camera = AddCamera({2.0f, 14.0f, 14.0f}, {0.0f, 2.0f, 0.0f});
    const std::uint64_t whole = FloorFragments(camera, false);
    const std::uint64_t trimmed = FloorFragments(camera, true);
    if (whole == 0)
        GTEST_SKIP() << "the driver counts no fragment-shader invocations";
    EXPECT_LT(trimmed * 2, whole) << trimmed << " of " << whole;
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
