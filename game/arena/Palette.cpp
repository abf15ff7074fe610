// Palette files: one JSON object, one key per colour; other keys are ignored.
//
//   vec3 keys      {"x": number, "y": number, "z": number}
//   "ball_spec"    {"x", "y", "z", "w"}
//   "sel_radius"   number
//
//   required   "tile_amb_col" "tile_tex_col" "tile_amb_2" "tile_diff"
//              "tile_sel_col" "tile_sel_amb" "ball_diff" "ball_spec"
//              "bord_col" "sel_bord_col" "sel_radius" "imm_ambient" "imm_tex"
//              "imm_ambient_2" "imm_diffuse" "imm_spec" "crash_ambient"
//              "crash_tex" "crash_amb_2" "crash_diff" "crash_spec"
//   optional   "border_emissive" "particles_start_color" "particles_end_color"
//              (an absent one keeps the palette's current value)
//
// Every component must be a number within the float range. The file is read
// into a copy; the palette changes only when the whole file is good.
#include "game/arena/Palette.h"

#include "engine/core/JsonForms.h"
#include "engine/render/Renderer.h"

#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

Palette CurrentPalette;

namespace {

struct PaletteKey {
    const char* key;
    PaletteSlot slot;
    std::size_t floats;
};

constexpr PaletteKey kRequiredKeys[] = {
    {"tile_amb_col", TileAmbCol, 3},   {"tile_tex_col", TileTexCol, 3},    {"tile_amb_2", TileAmb2, 3},
    {"tile_diff", TileDiff, 3},        {"tile_sel_col", TileSelCol, 3},    {"tile_sel_amb", TileSelAmb, 3},
    {"ball_diff", BallDiff, 3},        {"ball_spec", BallSpec, 4},         {"bord_col", BordCol, 3},
    {"sel_bord_col", SelBordCol, 3},   {"sel_radius", SelRadius, 1},       {"imm_ambient", ImmAmbient, 3},
    {"imm_tex", ImmTex, 3},            {"imm_ambient_2", ImmAmbient2, 3},  {"imm_diffuse", ImmDiffuse, 3},
    {"imm_spec", ImmSpec, 3},          {"crash_ambient", CrashAmbient, 3}, {"crash_tex", CrashTex, 3},
    {"crash_amb_2", CrashAmb2, 3},     {"crash_diff", CrashDiff, 3},       {"crash_spec", CrashSpec, 3},
};

constexpr PaletteKey kOptionalKeys[] = {
    {"border_emissive", BorderEmissive, 3},
    {"particles_start_color", ParticlesStart, 3},
    {"particles_end_color", ParticlesEnd, 3},
};

constexpr float Byte(int value) { return static_cast<float>(value) / 255.0f; }

// Stores the key's value into its slots; false when it is not of its form.
bool ReadKey(const nlohmann::json& value, const PaletteKey& key, Palette& into)
{
    static constexpr const char* kComponents[] = {"x", "y", "z", "w"};
    try {
        if (key.floats == 1) {
            into.values[key.slot] = Engine::Json::ReadFloat(value);
            return true;
        }
        if (!value.is_object())
            return false;
        for (std::size_t i = 0; i < key.floats; ++i)
            into.values[key.slot + i] = Engine::Json::ReadFloat(value.at(kComponents[i]));
        return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

const char* Form(const PaletteKey& key)
{
    return key.floats == 1 ? "a number" : key.floats == 4 ? "an object of numbers x, y, z, w" : "an object of numbers x, y, z";
}

bool Refuse(const std::string& path, const std::string& why)
{
    std::cerr << "[Palette] \"" << path << "\" " << why << "; the colours stay as they were.\n";
    return false;
}

std::optional<nlohmann::json> Parse(std::istream& file, const std::string& path)
{
    nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    if (document.is_discarded()) {
        Refuse(path, "is not JSON");
        return std::nullopt;
    }
    if (!document.is_object()) {
        Refuse(path, "does not hold one JSON object");
        return std::nullopt;
    }
    return document;
}

} // namespace

Palette::Palette() : values{}
{
    const auto set = [this](PaletteSlot slot, glm::vec3 colour) {
        values[slot] = colour.x;
        values[slot + 1] = colour.y;
        values[slot + 2] = colour.z;
    };
    set(TileAmbCol, glm::vec3(Byte(106)));
    set(TileTexCol, {Byte(228), Byte(251), 1.0f});
    set(TileAmb2, {Byte(92), Byte(109), Byte(107)});
    set(TileDiff, glm::vec3(Byte(44)));
    set(BallDiff, {Byte(79), Byte(164), Byte(171)});
    set(BallSpec, {Byte(19), Byte(21), Byte(21)});
    values[BallSpec + 3] = 1.0f;
    set(SelBordCol, {0.0f, 1.0f, 0.873f});
    set(BordCol, {0.722f, 0.71f, 1.0f});
    values[SelRadius] = 15.0f;
    set(TileSelCol, {0.0f, 1.0f, 0.849f});
    set(TileSelAmb, glm::vec3(1.0f));
    set(ImmAmbient, glm::vec3(Byte(92)));
    set(ImmTex, {0.471f, 0.408f, 0.902f});
    for (PaletteSlot crash : {CrashAmbient, CrashTex, CrashAmb2, CrashDiff})
        set(crash, {0.0f, 1.0f, 0.0f});
    for (PaletteSlot stun : {StunAmbient, StunDiffuse, StunSpecular})
        set(stun, {1.0f, 1.0f, 0.0f});
    set(ParticlesStart, glm::vec3(1.0f));
    set(ParticlesEnd, glm::vec3(1.0f));
}

bool Palette::LoadFromFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        return Refuse(path, "cannot be opened");
    return LoadFromText(file, path);
}

bool Palette::LoadFromText(std::istream& text, const std::string& path)
{
    const std::optional<nlohmann::json> document = Parse(text, path);
    if (!document)
        return false;
    Palette loaded = *this;
    for (const PaletteKey& key : kRequiredKeys) {
        const auto found = document->find(key.key);
        if (found == document->end())
            return Refuse(path, std::string("has no \"") + key.key + "\"");
        if (!ReadKey(*found, key, loaded))
            return Refuse(path, std::string("needs ") + Form(key) + " for \"" + key.key + "\"");
    }
    for (const PaletteKey& key : kOptionalKeys) {
        const auto found = document->find(key.key);
        if (found != document->end() && !ReadKey(*found, key, loaded))
            return Refuse(path, std::string("needs ") + Form(key) + " for \"" + key.key + "\"");
    }
    *this = loaded;
    return true;
}

glm::vec3 Palette::Colour(PaletteSlot slot) const { return {values[slot], values[slot + 1], values[slot + 2]}; }

glm::vec4 Palette::Colour4(PaletteSlot slot) const
{
    return {values[slot], values[slot + 1], values[slot + 2], values[slot + 3]};
}

Palette Palette::operator*(float scale) const
{
    Palette result = *this;
    for (std::size_t i = 0; i < kBlendedCount; ++i)
        result.values[i] = values[i] * scale;
    return result;
}

Palette Palette::operator-(const Palette& other) const
{
    Palette result = *this;
    for (std::size_t i = 0; i < kBlendedCount; ++i)
        result.values[i] = values[i] - other.values[i];
    return result;
}

Palette Palette::operator+(const Palette& other) const
{
    Palette result = *this;
    for (std::size_t i = 0; i < kBlendedCount; ++i)
        result.values[i] = values[i] + other.values[i];
    return result;
}

Palette BlendPalettes(const Palette& from, const Palette& to, float f) { return from + (to - from) * f; }

void PassPaletteToRenderer(const Palette& palette)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    renderer.SetSelectionColours(palette.Colour(SelBordCol), palette.Value(SelRadius), palette.Colour(BordCol));
    renderer.emissiveColour = palette.Colour(BorderEmissive);
}
