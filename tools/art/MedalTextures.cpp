#include <cmath>
#include <functional>
#include <string>

#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/TextureJob.h"
#include "tools/art/Typeface.h"

namespace Art {
namespace {

using glm::vec2;

// Medals show at a 4:3 scale on screen.
constexpr int kMedalWidth = 512;
constexpr int kMedalHeight = 384;
const vec2 kEmblem(256.0f, 158.0f);

// The icon's outline, in pixels around the emblem's centre (p is relative to it).
using Icon = std::function<float(vec2)>;

struct MedalLook {
    const char* file;
    const char* label;
    Colour colour;
    Icon icon;
};

float BallIcon(vec2 p)
{
    float d = Shape::Circle(p, vec2(14, 0), 30.0f);
    for (int i = 0; i < 3; ++i)
        d = Shape::Union(d, Shape::Segment(p, vec2(-62, -22 + 22 * i), vec2(-26, -22 + 22 * i), 5.0f));
    return d;
}

float BounceIcon(vec2 p)
{
    float d = Shape::Segment(p, vec2(-64, -40), vec2(-28, 36), 6.0f);
    d = Shape::Union(d, Shape::Segment(p, vec2(-28, 36), vec2(8, -16), 6.0f));
    d = Shape::Union(d, Shape::Segment(p, vec2(8, -16), vec2(30, 20), 6.0f));
    d = Shape::Union(d, Shape::Segment(p, vec2(-70, 50), vec2(60, 50), 4.0f));
    return Shape::Union(d, Shape::Circle(p, vec2(44, -8), 20.0f));
}

float StarIcon(vec2 p)
{
    return Shape::Polygon(p, Shape::StarCorners(vec2(0, 4), 70.0f, 30.0f, 5, -1.5707963f));
}

float BoltIcon(vec2 p)
{
    return Shape::Polygon(p, { { 14, -70 }, { -40, 10 }, { -4, 10 }, { -18, 70 }, { 40, -16 }, { 4, -16 } });
}

float SwordsIcon(vec2 p)
{
    float d = 1e9f;
    for (float s : { -1.0f, 1.0f }) {
        d = Shape::Union(d, Shape::Segment(p, vec2(-52 * s, 52), vec2(48 * s, -52), 6.0f));
        d = Shape::Union(d, Shape::Segment(p, vec2(-52 * s, 26), vec2(-26 * s, 52), 5.0f));
        d = Shape::Union(d, Shape::Circle(p, vec2(-58 * s, 58), 8.0f));
    }
    return d;
}

float JumpIcon(vec2 p)
{
    float d = Shape::Polygon(p, { { 0, -70 }, { 46, -18 }, { 18, -18 }, { 18, 30 }, { -18, 30 }, { -18, -18 }, { -46, -18 } });
    return Shape::Union(d, Shape::Segment(p, vec2(-44, 58), vec2(44, 58), 6.0f));
}

float EmptyBatteryIcon(vec2 p)
{
    float d = std::fabs(Shape::RoundedBox(p, vec2(-6, 0), vec2(56, 32), 8.0f)) - 5.0f;
    d = Shape::Union(d, Shape::Box(p, vec2(58, 0), vec2(8, 14)));
    return Shape::Union(d, Shape::Box(p, vec2(-44, 0), vec2(8, 20)));
}

float TargetIcon(vec2 p)
{
    float d = Shape::Ring(p, vec2(0), 58.0f, 6.0f);
    d = Shape::Union(d, Shape::Ring(p, vec2(0), 34.0f, 6.0f));
    return Shape::Union(d, Shape::Circle(p, vec2(0), 14.0f));
}

float CrossIcon(vec2 p)
{
    return Shape::Union(Shape::Segment(p, vec2(-44, -44), vec2(44, 44), 12.0f), Shape::Segment(p, vec2(-44, 44), vec2(44, -44), 12.0f));
}

// A cup on a stem with two handles: the winner's picture.
float TrophyIcon(vec2 p)
{
    float d = Shape::Polygon(p, { { -44, -62 }, { 44, -62 }, { 36, -14 }, { 12, 10 }, { -12, 10 }, { -36, -14 } });
    for (float s : { -1.0f, 1.0f })
        d = Shape::Union(d, Shape::Ring(p, vec2(46 * s, -38), 18.0f, 5.0f));
    d = Shape::Union(d, Shape::Box(p, vec2(0, 26), vec2(8, 18)));
    d = Shape::Union(d, Shape::RoundedBox(p, vec2(0, 54), vec2(38, 10), 4.0f));
    return d;
}

Canvas Medal(const Typeface& bold, const MedalLook& look)
{
    Canvas canvas(kMedalWidth, kMedalHeight);
    const Colour light = Mix(look.colour, Colour(1.0f), 0.55f);
    const Colour deep = look.colour * Colour(0.4f, 0.4f, 0.4f, 1.0f);
    const PixelBox emblemBox = Around(kEmblem, vec2(170.0f));

    Glow(canvas, emblemBox, [](vec2 p) { return Shape::Circle(p, kEmblem, 60.0f); }, Colour(glm::vec3(look.colour), 0.35f), 110.0f);
    Fill(canvas, emblemBox, [](vec2 p) { return Shape::Hexagon(p, kEmblem, 134.0f, false); }, Rgb(10, 10, 16, 0.85f));
    Paint(canvas, emblemBox, [](vec2 p) { return Shape::Hexagon(p, kEmblem, 126.0f, false); },
        [&](vec2 p) { return Mix(light, deep, (p.y - kEmblem.y + 126.0f) / 252.0f); });
    Fill(canvas, emblemBox, [](vec2 p) { return std::fabs(Shape::Hexagon(p, kEmblem, 106.0f, false)) - 2.5f; }, Colour(1.0f, 1.0f, 1.0f, 0.55f));
    Fill(canvas, emblemBox, [&](vec2 p) { return look.icon(p - kEmblem) - 5.0f; }, Rgb(0, 0, 0, 0.6f));
    Fill(canvas, emblemBox, [&](vec2 p) { return look.icon(p - kEmblem); }, Colour(1.0f));

    // The ribbon with the medal's name, notched at both ends.
    const std::vector<vec2> ribbon = { { 40, 262 }, { 472, 262 }, { 448, 300 }, { 472, 338 }, { 40, 338 }, { 64, 300 } };
    Fill(canvas, BoundsOf(ribbon, 6.0f), [&](vec2 p) { return Shape::Polygon(p, ribbon) - 4.0f; }, Rgb(0, 0, 0, 0.6f));
    Paint(canvas, BoundsOf(ribbon), [&](vec2 p) { return Shape::Polygon(p, ribbon); },
        [&](vec2 p) { return Mix(look.colour, deep, (p.y - 262.0f) / 76.0f); });
    LabelStyle style;
    style.fill = Colour(1.0f);
    style.outline = Rgb(0, 0, 0, 0.7f);
    style.outlineWidth = 3;
    DrawLabel(canvas, bold, look.label, vec2(256.0f, 300.0f), 46, 350.0f, style);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

} // namespace

std::vector<TextureJob> MedalTextures()
{
    static const MedalLook kLooks[] = {
        { "MedalNormal", "HIT!", Rgb(150, 180, 215), BallIcon },
        { "MedalBounce", "BOUNCE", Rgb(70, 200, 110), BounceIcon },
        { "MedalPerfect", "PERFECT", Rgb(255, 196, 50), StarIcon },
        { "MedalActiveShot", "ACTIVE SHOT", Rgb(165, 95, 255), BoltIcon },
        { "MedalRevenge", "REVENGE", Rgb(230, 60, 60), SwordsIcon },
        { "MedalJumpShot", "JUMP SHOT", Rgb(255, 140, 40), JumpIcon },
        { "MedalExhausted", "EXHAUSTED", Rgb(50, 195, 225), EmptyBatteryIcon },
        { "MedalGoalShot", "GOAL!", Rgb(240, 85, 180), TargetIcon },
        { "MedalLost", "DEFEAT", Rgb(115, 115, 128), CrossIcon },
        { "Player1Wins", "WINNER", Rgb(255, 210, 90), TrophyIcon },
    };
    std::vector<TextureJob> jobs;
    for (const MedalLook& look : kLooks)
        jobs.push_back({ std::string("Medals/") + look.file + ".png", [&look](const Typeface& face) { return Medal(face, look); } });
    return jobs;
}

} // namespace Art
