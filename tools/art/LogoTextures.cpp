#include <cmath>

#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/TextureJob.h"
#include "tools/art/Typeface.h"

namespace Art {
namespace {

using glm::vec2;

// Text centred on `centre`, scaled down to fit `maxWidth`, filled with a
// vertical gradient inside an outline.
void GradientTitle(Canvas& canvas, const Typeface& face, const std::string& text, vec2 centre, int pixelHeight, float maxWidth,
    const Colour& top, const Colour& bottom, const Colour& outline, int outlineWidth)
{
    Mask mask = face.Render(text, pixelHeight);
    if (mask.width > maxWidth)
        mask = face.Render(text, static_cast<int>(pixelHeight * maxWidth / mask.width));
    if (mask.width == 0)
        return;
    const int left = static_cast<int>(std::lround(centre.x - mask.width * 0.5f));
    const int up = static_cast<int>(std::lround(centre.y - mask.height * 0.5f));
    if (outlineWidth > 0) {
        const Mask rim = Dilate(mask, outlineWidth);
        // A soft drop shadow half an outline below lifts the title off the menu.
        Stamp(canvas, rim, left - outlineWidth, up - outlineWidth + outlineWidth / 2, [&](vec2) { return Colour(0, 0, 0, 0.35f); });
        Stamp(canvas, rim, left - outlineWidth, up - outlineWidth, [&](vec2) { return outline; });
    }
    const float height = static_cast<float>(mask.height);
    Stamp(canvas, mask, left, up, [&](vec2 p) { return Mix(top, bottom, (p.y - up) / height); });
}

// The maker's mark: a hexagon holding a two-peaked M with a sun over its
// right shoulder, and the name beside it. Nothing in it is symmetric top
// to bottom, so a picture drawn upside down shows at once.
Canvas MakerLogo(const Typeface& bold)
{
    Canvas canvas(1024, 512);
    const Colour ivory = Rgb(242, 236, 224);
    const Colour amber = Rgb(255, 170, 60);
    const vec2 mark(250.0f, 256.0f);
    const PixelBox markBox = Around(mark, vec2(170.0f));

    Fill(canvas, markBox, [&](vec2 p) { return std::fabs(Shape::Hexagon(p, mark, 150.0f, false)) - 9.0f; }, ivory);
    auto peaks = [&](vec2 p) {
        float d = Shape::Segment(p, mark + vec2(-78, 62), mark + vec2(-40, -40), 14.0f);
        d = Shape::Union(d, Shape::Segment(p, mark + vec2(-40, -40), mark + vec2(-2, 24), 14.0f));
        d = Shape::Union(d, Shape::Segment(p, mark + vec2(-2, 24), mark + vec2(36, -72), 14.0f));
        return Shape::Union(d, Shape::Segment(p, mark + vec2(36, -72), mark + vec2(82, 62), 14.0f));
    };
    Fill(canvas, markBox, peaks, ivory);
    const vec2 sun = mark + vec2(62.0f, -88.0f);
    Glow(canvas, markBox, [&](vec2 p) { return Shape::Circle(p, sun, 22.0f); }, Colour(glm::vec3(amber), 0.35f), 16.0f);
    Fill(canvas, markBox, [&](vec2 p) { return Shape::Circle(p, sun, 22.0f); }, amber);
    Fill(canvas, markBox, [&](vec2 p) { return Shape::Segment(p, mark + vec2(-96, 96), mark + vec2(96, 96), 5.0f); }, amber);

    GradientTitle(canvas, bold, "MORWICK", vec2(690.0f, 226.0f), 120, 560.0f, ivory, Rgb(200, 190, 176), Rgb(0, 0, 0, 0), 0);
    LabelStyle tagline;
    tagline.fill = amber;
    DrawLabel(canvas, bold, "G A M E S", vec2(690.0f, 322.0f), 40, 400.0f, tagline);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

// The game's title: the name over a hexagon that carries the 2. Two to one,
// so the title menu's whole-number aspect keeps it undistorted. The bottom
// eighth stays clear: the menu's first button stands there.
Canvas TitleLogo(const Typeface& bold)
{
    Canvas canvas(1024, 512);
    const vec2 badge(512.0f, 332.0f);
    const PixelBox badgeBox = Around(badge, vec2(86.0f));
    Fill(canvas, WholeOf(canvas), [&](vec2 p) { return Shape::Segment(p, vec2(120, badge.y), vec2(904, badge.y), 4.0f); }, Rgb(120, 200, 255, 0.8f));
    Glow(canvas, badgeBox, [&](vec2 p) { return Shape::Hexagon(p, badge, 62.0f, false); }, Rgb(255, 150, 40, 0.45f), 16.0f);
    Fill(canvas, badgeBox, [&](vec2 p) { return Shape::Hexagon(p, badge, 70.0f, false); }, Rgb(12, 16, 30));
    Paint(canvas, badgeBox, [&](vec2 p) { return Shape::Hexagon(p, badge, 62.0f, false); },
        [&](vec2 p) { return Mix(Rgb(255, 210, 90), Rgb(230, 90, 20), (p.y - badge.y + 62.0f) / 124.0f); });
    LabelStyle two;
    two.fill = Colour(1.0f);
    two.outline = Rgb(90, 30, 0, 0.8f);
    two.outlineWidth = 4;
    DrawLabel(canvas, bold, "2", badge, 88, 88.0f, two);

    GradientTitle(canvas, bold, "SOLVANE", vec2(512.0f, 160.0f), 200, 940.0f, Rgb(200, 245, 255), Rgb(30, 110, 230), Rgb(8, 14, 32), 9);
    canvas.BleedIntoTransparent(4);
    return canvas;
}

} // namespace

std::vector<TextureJob> LogoTextures()
{
    return {
        { "MorwickLogo.png", MakerLogo },
        { "SolvaneLogo.png", TitleLogo },
    };
}

std::vector<TextureJob> AllTextures()
{
    std::vector<TextureJob> all;
    for (auto list : { SurfaceTextures, HudTextures, MedalTextures, SparkleTextures, LogoTextures })
        for (TextureJob& job : list())
            all.push_back(std::move(job));
    return all;
}

} // namespace Art
