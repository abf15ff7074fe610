#pragma once
#include <array>
#include <cstddef>
#include <glm/glm.hpp>
#include <iosfwd>
#include <string>

// Where each colour of the arena sits in a palette's 83 floats. Slots 0 to
// 76 are the colours that blend during a palette fade; 77 to 82, the
// particle colours, are carried over unblended.
enum PaletteSlot : std::size_t {
    TileAmbCol = 0,
    TileTexCol = 3,
    TileAmb2 = 6,
    TileDiff = 9,
    // 12-14: a spare colour that no file sets.
    BallDiff = 15,
    BallSpec = 18, // four floats
    SelBordCol = 22,
    BordCol = 25,
    BorderEmissive = 28,
    SelRadius = 31, // one float
    TileSelCol = 32,
    TileSelAmb = 35,
    ImmAmbient = 38,
    ImmTex = 41,
    ImmAmbient2 = 44,
    ImmDiffuse = 47,
    ImmSpec = 50,
    CrashAmbient = 53,
    CrashTex = 56,
    CrashAmb2 = 59,
    CrashDiff = 62,
    CrashSpec = 65,
    // 68-76: the stun areas' three colours; no file sets them.
    StunAmbient = 68,
    StunDiffuse = 71,
    StunSpecular = 74,
    ParticlesStart = 77,
    ParticlesEnd = 80,
};

// The colours the arena is drawn from: floor, selection, immovable and
// crashing tiles, balls, borders, stun areas and particles.
class Palette {
public:
    static constexpr std::size_t kFloatCount = 83;
    static constexpr std::size_t kBlendedCount = 77;

    // The built-in colours, used until a palette file is loaded.
    Palette();

    // Replaces this palette by the file's when the file holds every required
    // key, well formed; otherwise prints why, naming the file and the key,
    // and keeps every colour as it was. False then.
    bool LoadFromFile(const std::string& path);
    // The same from text already open; `path` names it in messages.
    bool LoadFromText(std::istream& text, const std::string& path);

    glm::vec3 Colour(PaletteSlot slot) const;
    glm::vec4 Colour4(PaletteSlot slot) const;
    float Value(PaletteSlot slot) const { return values[slot]; }

    // Blending arithmetic over the blended slots; the particle colours of
    // the result are this palette's.
    Palette operator*(float scale) const;
    Palette operator-(const Palette& other) const;
    Palette operator+(const Palette& other) const;

    std::array<float, kFloatCount> values;
};

// The palette every coloured thing of the arena reads.
extern Palette CurrentPalette;

// from + (to - from) x f on the blended slots; the particle colours are
// from's.
Palette BlendPalettes(const Palette& from, const Palette& to, float f);

// Hands the palette's selection border colour, selection radius, border
// colour and border glow to the renderer.
void PassPaletteToRenderer(const Palette& palette);

// The nine arena palettes by index, and the one the arena fades to when it
// flips.
inline constexpr std::size_t kArenaPaletteCount = 9;
inline constexpr const char* kArenaPaletteFiles[kArenaPaletteCount] = {
    "data/Palettes/autumn_palette",       "data/Palettes/blue_palette",        "data/Palettes/brown_palette",
    "data/Palettes/goldblue_palette",     "data/Palettes/pastel_palette",      "data/Palettes/dark_contrast_palette",
    "data/Palettes/dark_pink_palette",    "data/Palettes/green_purple_palette", "data/Palettes/pale_palette",
};
inline constexpr const char* kBlackPaletteFile = "data/Palettes/black_palette";
