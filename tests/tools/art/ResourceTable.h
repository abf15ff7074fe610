#pragma once
#include <string>
#include <vector>

// The textures the renderer registers at start-up, by name and file, built
// here from the renderer's own naming rules rather than taken from the
// generator, so that a misspelt or missing file shows.
struct TextureEntry {
    std::string name;
    std::string file; // relative to the build folder
};

inline std::vector<TextureEntry> RegisteredTextures()
{
    const std::string t = "data/Texture/";
    std::vector<TextureEntry> table = {
        { "MorwickLogo", t + "MorwickLogo.png" }, { "White", t + "White.png" }, { "Point", t + "Point.png" },
        { "Line", t + "Line.png" }, { "Particle", t + "Particle.png" }, { "NormalDefault", t + "Default_NormalMap.png" },
        { "Tile", t + "Tile.psd" }, { "TileNoBlur", t + "TileNoBlur.psd" }, { "TileNoBlurInverted", t + "TileNoBlurInverted.jpg" },
        { "Tile_Specular", t + "Tile_Specular.psd" }, { "Tile_Normal", t + "Tile_NormalMap.png" }, { "Cross", t + "Cross/cross2.png" },
        { "Ball_Bump", t + "Ball_Bump.psd" }, { "ForceField", t + "HexagonGrid.psd" }, { "ArrowWhite", t + "Arrows/ArrowWhite2.png" },
        { "ArrowGrey", t + "Arrows/ArrowGrey2.png" }, { "RecordingHud", t + "RecordingHud.png" },
    };
    for (const char* medal : { "Bounce", "ActiveShot", "GoalShot", "JumpShot", "Normal", "Perfect", "Lost", "Revenge", "Exhausted" })
        table.push_back({ std::string("Medal") + medal, t + "Medals/Medal" + medal + ".png" });
    table.push_back({ "Player1Wins", t + "Medals/Player1Wins.png" });
    table.push_back({ "SolvaneLogo", t + "SolvaneLogo.png" });
    for (int n = 0; n <= 25; ++n)
        table.push_back({ "Brilli_" + std::to_string(n), t + "Brilli/Brilli_" + std::to_string(n) + ".png" });
    for (int n = 0; n <= 16; ++n) {
        table.push_back({ "Energy_" + std::to_string(n), t + "Energy/Energy2_" + std::to_string(n) + ".png" });
        table.push_back({ "Exhausted_" + std::to_string(n), t + "Exhaust/EnergyExausted2_" + std::to_string(n) + ".png" });
    }
    // The score and win pictures cross over: a file of one player is
    // registered under the other player's name.
    for (int n = 0; n <= 5; ++n) {
        table.push_back({ "Score_J2_" + std::to_string(n), t + "Score/Score_Base_J1_" + std::to_string(n) + ".psd" });
        table.push_back({ "Score_J1_" + std::to_string(n), t + "Score/Score_Base_J2_" + std::to_string(n) + ".psd" });
    }
    for (int n = 1; n <= 2; ++n)
        table.push_back({ "Win_" + std::to_string(n % 2 + 1), t + "Win/Player_" + std::to_string(n) + ".psd" });
    return table;
}

inline std::string TextureFile(const std::string& name)
{
    for (const TextureEntry& e : RegisteredTextures())
        if (e.name == name)
            return e.file;
    return {};
}
