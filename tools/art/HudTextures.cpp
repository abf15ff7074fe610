#include <algorithm>
#include <cmath>
#include <string>

#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/TextureJob.h"
#include "tools/art/Typeface.h"

namespace Art {
namespace {

using glm::vec2;

constexpr int kEnergySegments = 16;
constexpr int kScorePips = 5;

const Colour kShade = Rgb(0, 0, 0, 0.55f);
const Colour kPanel = Rgb(10, 14, 22, 0.5f);
const Colour kPanelRim = Rgb(170, 190, 210, 0.45f);

Colour PlayerColour(int player)
{
    return player == 1 ? Rgb(60, 140, 255) : Rgb(255, 70, 70);
}

// The renderer registers each score and win picture under the other
// player's name ("Score_J1_n" is read from Score_Base_J2_n.psd, "Win_1"
// from Player_2.psd), and a player asks for its own name; so each file shows
// the player whose name it ends up under.
int PlayerShownIn(int filePlayer)
{
    return filePlayer == 1 ? 2 : 1;
}

Canvas Crosshair()
{
    Canvas canvas(128, 128);
    const vec2 c(64.0f, 64.0f);
    auto ticks = [&](vec2 p, float halfWidth) {
        float d = Shape::Ring(p, c, 26.0f, halfWidth);
        d = Shape::Union(d, Shape::Segment(p, c + vec2(0, -38), c + vec2(0, -56), halfWidth));
        d = Shape::Union(d, Shape::Segment(p, c + vec2(0, 38), c + vec2(0, 56), halfWidth));
        d = Shape::Union(d, Shape::Segment(p, c + vec2(-38, 0), c + vec2(-56, 0), halfWidth));
        d = Shape::Union(d, Shape::Segment(p, c + vec2(38, 0), c + vec2(56, 0), halfWidth));
        return Shape::Union(d, Shape::Circle(p, c, halfWidth + 1.5f));
    };
    Fill(canvas, WholeOf(canvas), [&](vec2 p) { return ticks(p, 5.0f); }, kShade);
    Fill(canvas, WholeOf(canvas), [&](vec2 p) { return ticks(p, 2.5f); }, Colour(1.0f));
    canvas.BleedIntoTransparent(4);
    return canvas;
}

Canvas Arrow(const Colour& colour)
{
    Canvas canvas(128, 128);
    const std::vector<vec2> chevron = { { 30, 16 }, { 62, 16 }, { 104, 64 }, { 62, 112 }, { 30, 112 }, { 72, 64 } };
    Fill(canvas, BoundsOf(chevron, 6.0f), [&](vec2 p) { return Shape::Polygon(p, chevron) - 4.0f; }, kShade);
    Paint(canvas, BoundsOf(chevron), [&](vec2 p) { return Shape::Polygon(p, chevron); },
        [&](vec2 p) { return Mix(colour, colour * Colour(0.8f, 0.8f, 0.8f, 1.0f), (p.y - 16.0f) / 96.0f); });
    canvas.BleedIntoTransparent(4);
    return canvas;
}

Canvas RecordingMarker(const Typeface& bold)
{
    Canvas canvas(960, 540);
    const float inset = 40.0f, arm = 80.0f, half = 3.5f;
    const Colour frame(1.0f, 1.0f, 1.0f, 0.85f);
    for (int corner = 0; corner < 4; ++corner) {
        const float sx = (corner % 2 == 0) ? 1.0f : -1.0f;
        const float sy = (corner < 2) ? 1.0f : -1.0f;
        const vec2 tip(corner % 2 == 0 ? inset : 960.0f - inset, corner < 2 ? inset : 540.0f - inset);
        auto bracket = [&](vec2 p, float w) {
            return Shape::Union(Shape::Segment(p, tip, tip + vec2(sx * arm, 0), w), Shape::Segment(p, tip, tip + vec2(0, sy * arm), w));
        };
        const PixelBox box = Around(tip + vec2(sx, sy) * arm * 0.5f, vec2(arm * 0.5f + 8.0f));
        Fill(canvas, box, [&](vec2 p) { return bracket(p, half + 2.0f); }, Rgb(0, 0, 0, 0.4f));
        Fill(canvas, box, [&](vec2 p) { return bracket(p, half); }, frame);
    }
    const vec2 dot(92.0f, 92.0f);
    Glow(canvas, Around(dot, vec2(40.0f)), [&](vec2 p) { return Shape::Circle(p, dot, 14.0f); }, Rgb(255, 40, 40, 0.6f), 18.0f);
    Fill(canvas, Around(dot, vec2(16.0f)), [&](vec2 p) { return Shape::Circle(p, dot, 14.0f); }, Rgb(255, 36, 36));
    LabelStyle style;
    style.fill = Rgb(255, 255, 255);
    style.outline = Rgb(0, 0, 0, 0.5f);
    style.outlineWidth = 3;
    DrawLabel(canvas, bold, "REC", vec2(162.0f, 92.0f), 40, 200.0f, style);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

// A slanted segment of the energy bar.
std::vector<vec2> Segment(int index)
{
    const float left = 96.0f, right = 492.0f, gap = 4.0f, top = 50.0f, bottom = 94.0f, slant = 9.0f;
    const float width = (right - left - gap * (kEnergySegments - 1)) / kEnergySegments;
    const float x = left + index * (width + gap);
    return { { x + slant, top }, { x + width + slant, top }, { x + width, bottom }, { x, bottom } };
}

std::vector<vec2> Bolt(vec2 c, float s)
{
    return { c + vec2(4, -26) * s, c + vec2(-14, 4) * s, c + vec2(-1, 4) * s, c + vec2(-6, 26) * s, c + vec2(14, -6) * s, c + vec2(1, -6) * s };
}

// Energy 0..16 as lit segments; the exhausted form burns red, its bolt struck through.
Canvas EnergyBar(const Typeface& bold, int lit, bool exhausted)
{
    Canvas canvas(512, 128);
    const Colour litFrom = exhausted ? Rgb(255, 80, 30) : Rgb(40, 200, 255);
    const Colour litTo = exhausted ? Rgb(255, 180, 40) : Rgb(90, 255, 190);
    const Colour dim = exhausted ? Rgb(60, 12, 8, 0.55f) : Rgb(10, 24, 36, 0.55f);
    const Colour rim = exhausted ? Rgb(255, 110, 80, 0.6f) : Rgb(120, 200, 230, 0.5f);

    Fill(canvas, WholeOf(canvas), [](vec2 p) { return Shape::RoundedBox(p, vec2(256, 72), vec2(250, 32), 12.0f); }, kPanel);
    Fill(canvas, WholeOf(canvas), [](vec2 p) { return std::fabs(Shape::RoundedBox(p, vec2(256, 72), vec2(250, 32), 12.0f)) - 1.0f; }, kPanelRim);

    const vec2 icon(50.0f, 72.0f);
    Fill(canvas, Around(icon, vec2(28)), [&](vec2 p) { return Shape::Circle(p, icon, 24.0f); }, dim);
    Fill(canvas, Around(icon, vec2(28)), [&](vec2 p) { return Shape::Polygon(p, Bolt(icon, 0.8f)); }, litTo);
    if (exhausted)
        Fill(canvas, Around(icon, vec2(28)), [&](vec2 p) { return Shape::Segment(p, icon + vec2(-16, 16), icon + vec2(16, -16), 2.5f); }, Rgb(255, 40, 30));

    for (int i = 0; i < kEnergySegments; ++i) {
        const std::vector<vec2> quad = Segment(i);
        const PixelBox box = BoundsOf(quad, 8.0f);
        if (i < lit) {
            const Colour colour = Mix(litFrom, litTo, static_cast<float>(i) / (kEnergySegments - 1));
            Glow(canvas, box, [&](vec2 p) { return Shape::Polygon(p, quad); }, Colour(glm::vec3(colour), 0.35f), 6.0f);
            Paint(canvas, box, [&](vec2 p) { return Shape::Polygon(p, quad); },
                [&](vec2 p) { return Mix(Mix(colour, Colour(1.0f), 0.45f), colour, (p.y - 50.0f) / 20.0f); });
        } else {
            Fill(canvas, box, [&](vec2 p) { return Shape::Polygon(p, quad); }, dim);
            Fill(canvas, box, [&](vec2 p) { return std::fabs(Shape::Polygon(p, quad)) - 0.6f; }, rim);
        }
    }

    LabelStyle style;
    style.fill = exhausted ? Rgb(255, 90, 60) : Rgb(200, 240, 255);
    style.outline = Rgb(0, 0, 0, 0.6f);
    style.outlineWidth = 2;
    const std::string label = exhausted ? "EXHAUSTED" : "ENERGY";
    DrawLabel(canvas, bold, label, vec2(96.0f + 8.0f * label.size(), 22.0f), 22, 200.0f, style);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

// A player's badge and five hexagonal pips, `points` of them filled.
Canvas ScorePips(const Typeface& bold, int player, int points)
{
    Canvas canvas(512, 128);
    const Colour colour = PlayerColour(player);
    const Colour deep = colour * Colour(0.45f, 0.45f, 0.45f, 1.0f);

    Fill(canvas, WholeOf(canvas), [](vec2 p) { return Shape::RoundedBox(p, vec2(300, 64), vec2(200, 40), 18.0f); }, kPanel);
    Fill(canvas, WholeOf(canvas), [](vec2 p) { return std::fabs(Shape::RoundedBox(p, vec2(300, 64), vec2(200, 40), 18.0f)) - 1.0f; }, kPanelRim);

    const vec2 badge(62.0f, 64.0f);
    Fill(canvas, Around(badge, vec2(60)), [&](vec2 p) { return Shape::Hexagon(p, badge, 56.0f, false); }, Rgb(0, 0, 0, 0.5f));
    Paint(canvas, Around(badge, vec2(60)), [&](vec2 p) { return Shape::Hexagon(p, badge, 52.0f, false); },
        [&](vec2 p) { return Mix(Mix(colour, Colour(1.0f), 0.35f), deep, (p.y - 12.0f) / 104.0f); });
    LabelStyle label;
    label.fill = Colour(1.0f);
    label.outline = Rgb(0, 0, 0, 0.45f);
    label.outlineWidth = 2;
    DrawLabel(canvas, bold, "P" + std::to_string(player), badge, 42, 70.0f, label);

    for (int i = 0; i < kScorePips; ++i) {
        const vec2 c(156.0f + i * 72.0f, 64.0f);
        const PixelBox box = Around(c, vec2(40));
        if (i < points) {
            Glow(canvas, box, [&](vec2 p) { return Shape::Hexagon(p, c, 26.0f, false); }, Colour(glm::vec3(colour), 0.5f), 9.0f);
            Paint(canvas, box, [&](vec2 p) { return Shape::Hexagon(p, c, 26.0f, false); },
                [&](vec2 p) { return Mix(Mix(colour, Colour(1.0f), 0.5f), colour, (p.y - c.y + 26.0f) / 40.0f); });
        } else {
            Fill(canvas, box, [&](vec2 p) { return Shape::Hexagon(p, c, 26.0f, false); }, Rgb(0, 0, 0, 0.45f));
            Fill(canvas, box, [&](vec2 p) { return std::fabs(Shape::Hexagon(p, c, 24.0f, false)) - 1.5f; }, Colour(glm::vec3(colour), 0.8f));
        }
    }
    canvas.BleedIntoTransparent(4);
    return canvas;
}

// "PLAYER n WINS" on a ribbon of the player's colour.
Canvas WinBanner(const Typeface& bold, int player)
{
    Canvas canvas(1024, 256);
    const Colour colour = PlayerColour(player);
    const std::vector<vec2> ribbon = { { 40, 64 }, { 984, 64 }, { 944, 128 }, { 984, 192 }, { 40, 192 }, { 80, 128 } };
    Fill(canvas, BoundsOf(ribbon, 7.0f), [&](vec2 p) { return Shape::Polygon(p, ribbon) - 5.0f; }, Rgb(0, 0, 0, 0.55f));
    Paint(canvas, BoundsOf(ribbon), [&](vec2 p) { return Shape::Polygon(p, ribbon); },
        [&](vec2 p) { return Mix(Mix(colour, Colour(1.0f), 0.3f), colour * Colour(0.5f, 0.5f, 0.5f, 1.0f), (p.y - 64.0f) / 128.0f); });
    for (float x : { 150.0f, 874.0f }) {
        const vec2 c(x, 128.0f);
        const std::vector<vec2> star = Shape::StarCorners(c, 34.0f, 14.0f, 5, -1.5707963f);
        Fill(canvas, Around(c, vec2(40)), [&](vec2 p) { return Shape::Polygon(p, star) - 3.0f; }, Rgb(0, 0, 0, 0.5f));
        Fill(canvas, Around(c, vec2(40)), [&](vec2 p) { return Shape::Polygon(p, star); }, Rgb(255, 220, 90));
    }
    LabelStyle style;
    style.fill = Colour(1.0f);
    style.outline = Rgb(10, 10, 20, 0.8f);
    style.outlineWidth = 5;
    style.shadow = Rgb(0, 0, 0, 0.4f);
    style.shadowDrop = 6;
    DrawLabel(canvas, bold, "PLAYER " + std::to_string(player) + " WINS", vec2(512.0f, 128.0f), 84, 620.0f, style);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

} // namespace

std::vector<TextureJob> HudTextures()
{
    std::vector<TextureJob> jobs = {
        Unlabelled("Cross/cross2.png", Crosshair),
        { "Arrows/ArrowWhite2.png", [](const Typeface&) { return Arrow(Rgb(255, 255, 255)); } },
        { "Arrows/ArrowGrey2.png", [](const Typeface&) { return Arrow(Rgb(110, 115, 125, 0.85f)); } },
        { "RecordingHud.png", RecordingMarker },
    };
    for (int n = 0; n <= kEnergySegments; ++n) {
        jobs.push_back({ "Energy/Energy2_" + std::to_string(n) + ".png", [n](const Typeface& face) { return EnergyBar(face, n, false); } });
        jobs.push_back({ "Exhaust/EnergyExausted2_" + std::to_string(n) + ".png", [n](const Typeface& face) { return EnergyBar(face, n, true); } });
    }
    for (int n = 0; n <= kScorePips; ++n) {
        for (int file = 1; file <= 2; ++file) {
            const std::string path = "Score/Score_Base_J" + std::to_string(file) + "_" + std::to_string(n) + ".psd";
            jobs.push_back({ path, [file, n](const Typeface& face) { return ScorePips(face, PlayerShownIn(file), n); } });
        }
    }
    for (int file = 1; file <= 2; ++file)
        jobs.push_back({ "Win/Player_" + std::to_string(file) + ".psd", [file](const Typeface& face) { return WinBanner(face, PlayerShownIn(file)); } });
    return jobs;
}

} // namespace Art
