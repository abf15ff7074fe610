#include "game/arena/Palette.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>

namespace {

std::vector<std::string> ShippedPalettes()
{
    std::vector<std::string> files(std::begin(kArenaPaletteFiles), std::end(kArenaPaletteFiles));
    files.push_back(kBlackPaletteFile);
    return files;
}

// Every required key, as a palette file holds it.
nlohmann::json RequiredKeys(float value)
{
    const nlohmann::json colour = {{"x", value}, {"y", value}, {"z", value}};
    nlohmann::json file = nlohmann::json::object();
    for (const char* key : {"tile_amb_col", "tile_tex_col", "tile_amb_2", "tile_diff", "tile_sel_col", "tile_sel_amb",
                            "ball_diff", "bord_col", "sel_bord_col", "imm_ambient", "imm_tex", "imm_ambient_2",
                            "imm_diffuse", "imm_spec", "crash_ambient", "crash_tex", "crash_amb_2", "crash_diff",
                            "crash_spec"})
        file[key] = colour;
    file["ball_spec"] = {{"x", value}, {"y", value}, {"z", value}, {"w", value}};
    file["sel_radius"] = value;
    return file;
}

TEST(Palettes, EveryShippedPaletteLoadsAndBlendsToItsEnds)
{
    const Palette defaults;
    std::set<std::array<float, Palette::kFloatCount>> distinct;
    for (const std::string& path : ShippedPalettes()) {
        Palette palette;
        std::string said = StderrOf([&] { EXPECT_TRUE(palette.LoadFromFile(path)) << path; });
        EXPECT_EQ(said, "");
        distinct.insert(palette.values);
        for (PaletteSlot slot : {TileTexCol, TileSelCol, ImmTex, CrashTex, BallDiff})
            for (int i = 0; i < 3; ++i)
                EXPECT_GE(palette.values[slot + i], 0.0f) << path;
        EXPECT_GT(palette.Value(SelRadius), 0.0f) << path;

        const Palette at0 = BlendPalettes(defaults, palette, 0.0f);
        const Palette at1 = BlendPalettes(defaults, palette, 1.0f);
        for (std::size_t i = 0; i < Palette::kBlendedCount; ++i) {
            EXPECT_EQ(at0.values[i], defaults.values[i]) << path << " slot " << i;
            EXPECT_NEAR(at1.values[i], palette.values[i], 1e-6f) << path << " slot " << i;
        }
        for (std::size_t i = Palette::kBlendedCount; i < Palette::kFloatCount; ++i)
            EXPECT_EQ(at1.values[i], defaults.values[i]) << "particle colours are never blended";
    }
    EXPECT_EQ(distinct.size(), 10u) << "ten different schemes";
}

TEST(Palettes, TheRequiredKeysAloneLoadAndTheRestStays)
{
    ScopedTempDir dir;
    nlohmann::json file = RequiredKeys(0.5f);
    file["an_unknown_key"] = "ignored";
    WriteFileText("only_required", file.dump());

    Palette palette;
    palette.values[BorderEmissive] = 0.3f;
    palette.values[12] = 0.7f;
    const Palette before = palette;
    ASSERT_TRUE(palette.LoadFromFile("only_required"));
    EXPECT_EQ(palette.Colour(TileAmbCol), glm::vec3(0.5f));
    EXPECT_EQ(palette.Colour4(BallSpec), glm::vec4(0.5f));
    EXPECT_EQ(palette.Value(SelRadius), 0.5f);
    for (std::size_t slot : {std::size_t{BorderEmissive}, std::size_t{12}, std::size_t{68}, std::size_t{75},
                             std::size_t{ParticlesStart}, std::size_t{ParticlesEnd + 2}})
        EXPECT_EQ(palette.values[slot], before.values[slot]) << "slot " << slot;

    file["particles_end_color"] = {{"x", 0.1}, {"y", 0.2}, {"z", 0.3}};
    WriteFileText("with_particles", file.dump());
    ASSERT_TRUE(palette.LoadFromFile("with_particles"));
    EXPECT_EQ(palette.Colour(ParticlesEnd), glm::vec3(0.1f, 0.2f, 0.3f));
}

TEST(Palettes, ABrokenFileNamesTheProblemAndLeavesThePaletteAsItWas)
{
    ScopedTempDir dir;
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    };
    nlohmann::json missing = RequiredKeys(0.5f);
    missing.erase("imm_tex");
    nlohmann::json notANumber = RequiredKeys(0.5f);
    notANumber["crash_diff"]["y"] = "green";
    nlohmann::json shortColour = RequiredKeys(0.5f);
    shortColour["ball_spec"].erase("w");
    nlohmann::json tooLarge = RequiredKeys(0.5f);
    tooLarge["tile_diff"]["x"] = 1e300;
    nlohmann::json badOptional = RequiredKeys(0.5f);
    badOptional["border_emissive"] = 3;
    nlohmann::json radiusObject = RequiredKeys(0.5f);
    radiusObject["sel_radius"] = {{"x", 1}};
    const Case cases[] = {
        {"missing key", missing.dump(), "has no \"imm_tex\""},
        {"text component", notANumber.dump(), "\"crash_diff\""},
        {"vec4 without w", shortColour.dump(), "\"ball_spec\""},
        {"past the float range", tooLarge.dump(), "\"tile_diff\""},
        {"malformed optional key", badOptional.dump(), "\"border_emissive\""},
        {"radius as an object", radiusObject.dump(), "needs a number for \"sel_radius\""},
        {"not JSON", "{\"tile_amb_col\": ", "is not JSON"},
        {"a list", "[1, 2, 3]", "one JSON object"},
    };
    for (const Case& c : cases) {
        WriteFileText("broken", c.text);
        Palette palette;
        palette.values[TileAmbCol] = 0.25f;
        const Palette before = palette;
        bool loaded = true;
        const std::string said = StderrOf([&] { loaded = palette.LoadFromFile("broken"); });
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_NE(said.find("\"broken\""), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find(c.message), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(palette.values, before.values) << c.what << " changed the palette";
    }
    Palette palette;
    const Palette before = palette;
    const std::string said = StderrOf([&] { EXPECT_FALSE(palette.LoadFromFile("no_such_palette")); });
    EXPECT_NE(said.find("cannot be opened"), std::string::npos);
    EXPECT_EQ(palette.values, before.values);
}

TEST(Palettes, ArithmeticWorksOnTheBlendedSlotsOnly)
{
    Palette a;
    Palette b;
    a.values.fill(2.0f);
    b.values.fill(0.5f);
    const Palette sum = a + b;
    const Palette difference = a - b;
    const Palette scaled = a * 3.0f;
    EXPECT_EQ(sum.values[0], 2.5f);
    EXPECT_EQ(difference.values[76], 1.5f);
    EXPECT_EQ(scaled.values[40], 6.0f);
    EXPECT_EQ(sum.values[77], 2.0f);
    EXPECT_EQ(difference.values[82], 2.0f);
    EXPECT_EQ(scaled.values[80], 2.0f);
    EXPECT_EQ(BlendPalettes(a, b, 0.5f).values[10], 1.25f);
}

} // namespace
