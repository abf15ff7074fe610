#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tools/art/Canvas.h"

namespace Art {

class Typeface;

// One picture to write: its path under data/Texture/ and how to draw it
// with the label font (each drawing thread opens a face of its own).
struct TextureJob {
    std::string path;
    std::function<Canvas(const Typeface&)> draw;
};

// A picture without labels.
inline TextureJob Unlabelled(std::string path, Canvas (*draw)())
{
    return { std::move(path), [draw](const Typeface&) { return draw(); } };
}

// Plain helper pictures and the surfaces of the tiles, ball and force field.
std::vector<TextureJob> SurfaceTextures();
// Crosshair, arrows, replay marker, energy bars, score pips and win banners.
std::vector<TextureJob> HudTextures();
// The nine medal badges.
std::vector<TextureJob> MedalTextures();
// The 26 frames of the medal sparkle.
std::vector<TextureJob> SparkleTextures();
// The maker's logo of the splash screen and the game's title logo.
std::vector<TextureJob> LogoTextures();
// Every picture above.
std::vector<TextureJob> AllTextures();

} // namespace Art
