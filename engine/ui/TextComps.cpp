#include "engine/ui/TextComps.h"

#include "engine/render/Font.h"
#include "engine/render/Renderer.h"
#include "engine/ui/Element.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/UiGeometry.h"
#include "engine/ui/UiHost.h"
#include "engine/ui/Utf8.h"

#include <algorithm>

namespace Engine::UI {

namespace {

// Screen pixels per font pixel are the font size over 27, halved because
// the window's -1 to 1 range spans it twice.
constexpr float kPixelsPerUnit = 27.0f;
constexpr float kFallbackRasterSize = 48.0f;

// Never freed: layers still open at exit leave it after static objects
// are gone.
std::set<LocaleTextComp*>& LocaleRegistry()
{
    static auto* registry = new std::set<LocaleTextComp*>();
    return *registry;
}

// The size the font was rasterised at, in pixels per em.
float RasterSize(const Font& font)
{
    const FT_Face face = font.Face();
    return face && face->size ? static_cast<float>(face->size->metrics.y_ppem) : kFallbackRasterSize;
}

float Advance(const Glyph& glyph) { return static_cast<float>(glyph.advance) / 64.0f; }

float LineWidth(const Font& font, std::u16string_view line)
{
    float width = 0.0f;
    for (char16_t c : line) {
        if (const Glyph* glyph = GlyphOrFallback(font, c))
            width += Advance(*glyph);
    }
    return width;
}

} // namespace

const Glyph* GlyphOrFallback(const Font& font, char16_t code)
{
    if (const Glyph* glyph = font.Find(code))
        return glyph;
    return font.Glyphs().empty() ? nullptr : &font.Glyphs().begin()->second;
}

const std::u16string& BaseTextComp::GetText() const
{
    static const std::u16string empty;
    return empty;
}

void BaseTextComp::SetFont(const Font* newFont)
{
    font = newFont;
    Measure();
}

void BaseTextComp::SetFontSize(float size)
{
    fontSize = size;
    Measure();
}

void BaseTextComp::SetSizeFactor(float factor)
{
    sizeFactor = factor;
    sizeMode = kFollowWidth;
}

void BaseTextComp::AllowWrap()
{
    mayWrap = true;
    Measure();
}

void BaseTextComp::Measure()
{
    measuredWidth = measuredHeight = measuredBearing = wrappedWidth = 0.0f;
    wrapAt = std::u16string::npos;
    if (!font)
        return;
    const std::u16string& text = GetText();
    for (char16_t c : text) {
        const Glyph* glyph = GlyphOrFallback(*font, c);
        if (!glyph)
            return;
        measuredWidth += Advance(*glyph);
        measuredHeight = std::max(measuredHeight, static_cast<float>(glyph->rows));
        measuredBearing = std::max(measuredBearing, static_cast<float>(glyph->bearingY));
    }
    if (!mayWrap)
        return;
    // The space whose two sides leave the longer line shortest.
    float before = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const float advance = Advance(*GlyphOrFallback(*font, text[i]));
        const float longer = std::max(before, measuredWidth - before - advance);
        if (text[i] == u' ' && (wrapAt == std::u16string::npos || longer < wrappedWidth)) {
            wrapAt = i;
            wrappedWidth = longer;
        }
        before += advance;
    }
}

void BaseTextComp::Update()
{
    if (sizeMode == kFixedSize)
        return;
    const glm::vec2 pixels = owner->absoluteSize;
    if (pixels != lastPixelSize) {
        fontSize = (sizeMode == kFollowWidth ? pixels.x : pixels.y) * sizeFactor;
        Measure();
    }
    lastPixelSize = pixels;
}

float BaseTextComp::OneLineScale(float height, float width) const
{
    float scale = owner->scale * fontSize / (2.0f * kPixelsPerUnit);
    scale = std::min(scale, kFitHeight * height / RasterSize(*font));
    if (width > 0.0f)
        scale = std::min(scale, kFitWidth * owner->normalisedSize.x * Host().WindowSize().x / width);
    return std::max(scale, 0.0f);
}

bool BaseTextComp::DrawsTwoLines() const
{
    if (!font || !owner || wrapAt == std::u16string::npos)
        return false;
    const float height = owner->normalisedSize.y * Host().WindowSize().y;
    return OneLineScale(height * 0.5f, wrappedWidth) > OneLineScale(height, measuredWidth);
}

float BaseTextComp::DrawScale() const
{
    if (!font || !owner)
        return 0.0f;
    const float height = owner->normalisedSize.y * Host().WindowSize().y;
    return DrawsTwoLines() ? OneLineScale(height * 0.5f, wrappedWidth) : OneLineScale(height, measuredWidth);
}

void BaseTextComp::Render()
{
    const ShaderProgram* program = Renderer::GetInstance().shaders.Find("UIText");
    const glm::vec2 window = Host().WindowSize();
    if (!font || !program || window.x <= 0.0f || window.y <= 0.0f)
        return;
    // A page drawn before its first update (it was pushed at the end of
    // one) shows its texts at their size all the same.
    Update();
    // The text of a locale entry changes with the language.
    Measure();
    const float scale = DrawScale();
    const glm::vec2 perPixel(scale * 2.0f / window.x, scale * 2.0f / window.y);
    const float y = owner->GetAnchorPoint().y + owner->normalisedSize.y * 0.5f * verticalOffset;

    BeginUiDraw(window);
    const std::u16string_view text = GetText();
    if (!DrawsTwoLines()) {
        DrawLine(text, y, perPixel, *program);
        return;
    }
    // Each line centred in its half of the element.
    const float half = owner->normalisedSize.y * 0.5f;
    DrawLine(text.substr(0, wrapAt), y + half, perPixel, *program);
    DrawLine(text.substr(wrapAt + 1), y - half, perPixel, *program);
}

void BaseTextComp::DrawLine(std::u16string_view line, float y, const glm::vec2& perPixel,
                            const ShaderProgram& program) const
{
    const glm::vec2 a = owner->GetAnchorPoint();
    const glm::vec2 s = owner->normalisedSize;
    const float width = perPixel.x * LineWidth(*font, line);
    const float x = alignment == kLeft ? a.x - s.x : alignment == kRight ? a.x + s.x - width : a.x - width * 0.5f;
    UseUiProgram(program, ScaleAndMove(perPixel, glm::vec2(x, y)), colour);

    // The tallest glyph's top and the baseline sit evenly about the centre.
    const float baseline = -measuredBearing * 0.5f;
    float pen = 0.0f;
    for (char16_t c : line) {
        const Glyph* glyph = GlyphOrFallback(*font, c);
        if (!glyph)
            return;
        const float left = pen + static_cast<float>(glyph->bearingX);
        const float right = left + static_cast<float>(glyph->width);
        const float top = baseline + static_cast<float>(glyph->bearingY);
        const float bottom = top - static_cast<float>(glyph->rows);
        const glm::vec4 quad[4] = {{left, top, 0.0f, 0.0f},
                                   {left, bottom, 0.0f, 1.0f},
                                   {right, bottom, 1.0f, 1.0f},
                                   {right, top, 1.0f, 0.0f}};
        glBindTexture(GL_TEXTURE_2D, glyph->texture);
        UiGeometry::Get().DrawGlyphQuad(quad);
        pen += Advance(*glyph);
    }
}

LocaleTextComp::LocaleTextComp(const Font* textFont, std::uint32_t textKey, bool fixedFont)
    : BaseTextComp(textFont), key(textKey), fontFixed(fixedFont ? 1 : 0)
{
    LocaleRegistry().insert(this);
    Measure();
}

LocaleTextComp::~LocaleTextComp() { LocaleRegistry().erase(this); }

const std::u16string& LocaleTextComp::GetText() const { return GetLocaleText(key); }

void LocaleTextComp::SetKey(std::uint32_t textKey)
{
    key = textKey;
    Measure();
}

void LocaleTextComp::SetFontFixed(const Font* fixed)
{
    font = fixed;
    Measure();
    fontFixed = 1;
}

PureTextComp::PureTextComp(const Font* textFont, std::u16string initial)
    : BaseTextComp(textFont), text(std::move(initial))
{
    Measure();
}

void PureTextComp::SetText(std::string_view utf8) { SetText(DecodeUtf8(utf8)); }

void PureTextComp::SetText(std::u16string wide)
{
    text = std::move(wide);
    Measure();
}

void ApplyFontToAllTexts(const Font* font)
{
    for (LocaleTextComp* text : LocaleRegistry()) {
        if (!text->fontFixed)
            text->SetFont(font);
    }
}

const std::set<LocaleTextComp*>& AllLocaleTexts() { return LocaleRegistry(); }

} // namespace Engine::UI
