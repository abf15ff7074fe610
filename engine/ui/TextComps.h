#pragma once
#include "engine/ui/ElementComp.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <set>
#include <string>
#include <string_view>

namespace Engine {
class Font;
class ShaderProgram;
struct Glyph;
}

namespace Engine::UI {

// One line of text drawn over its element with the "UIText" program.
//
// The text's size is `fontSize` (in pixels for a 1.0 scale), or follows the
// element's pixel width or height times `sizeFactor`. However big that is,
// the drawn line never grows taller than kFitHeight of the element's height
// nor wider than kFitWidth of its width, so a long label shrinks into its
// button instead of spilling out. The line is centred vertically on the
// element's anchor point, moved by `verticalOffset` half-heights.
//
// A text that may wrap breaks at the space that halves it best onto two
// lines, each in half the element's height, whenever that draws it larger
// than one shrunken line would: a long sentence stays readable.
class BaseTextComp : public IElemComp {
public:
    enum Alignment : std::uint32_t { kLeft = 0, kCentre = 1, kRight = 2 };
    enum SizeMode : std::uint32_t { kFixedSize = 0, kFollowWidth = 1, kFollowHeight = 2 };

    static constexpr float kFitHeight = 0.6f;
    static constexpr float kFitWidth = 0.94f;

    explicit BaseTextComp(const Font* textFont = nullptr) : font(textFont) {}

    // Follows the element's pixel size when the size mode asks for it.
    void Update() override;
    void Render() override;

    virtual const std::u16string& GetText() const;

    void SetFont(const Font* newFont);
    void SetFontSize(float size);
    // Also makes the size follow the element's pixel width.
    void SetSizeFactor(float factor);
    // Width and tallest glyph of the text, in the font's own pixels, and
    // where it would wrap.
    void Measure();
    // Screen pixels per font pixel as the text is drawn now.
    float DrawScale() const;
    // Whether the text is drawn on two lines now.
    bool DrawsTwoLines() const;
    // Lets the text break onto two lines.
    void AllowWrap();

    std::uint32_t alignment = kCentre;
    glm::vec4 colour{1.0f};
    float verticalOffset = 0.0f;
    std::uint32_t sizeMode = kFixedSize;
    float sizeFactor = 0.75f;
    float fontSize = 11.0f;
    float measuredHeight = 0.0f;
    float measuredBearing = 0.0f;
    float measuredWidth = 0.0f;
    const Font* font = nullptr;
    glm::vec2 lastPixelSize{0.0f};

private:
    // The scale of one line of `width` font pixels in `height` screen pixels
    // of the element.
    float OneLineScale(float height, float width) const;
    void DrawLine(std::u16string_view line, float y, const glm::vec2& perPixel, const ShaderProgram& program) const;

    bool mayWrap = false;
    // The space the text breaks at, and the longer line's width; no break
    // when the text has no space or may not wrap.
    std::size_t wrapAt = std::u16string::npos;
    float wrappedWidth = 0.0f;
};

// A text given by its id in the localisation table, shown in the current
// language. Unless its font is fixed, a language change gives it the font
// of the new language.
class LocaleTextComp : public BaseTextComp {
public:
    explicit LocaleTextComp(const Font* textFont = nullptr, std::uint32_t textKey = 0, bool fixedFont = false);
    ~LocaleTextComp() override;

    const std::u16string& GetText() const override;
    void SetKey(std::uint32_t textKey);
    // Stores the font and keeps it over language changes.
    void SetFontFixed(const Font* fixed);

    std::uint32_t key = 0;
    std::uint8_t fontFixed = 0;
};

// A text of its own.
class PureTextComp : public BaseTextComp {
public:
    explicit PureTextComp(const Font* textFont = nullptr, std::u16string initial = u"Text");

    const std::u16string& GetText() const override { return text; }
    // UTF-8, decoded as the localisation table is.
    void SetText(std::string_view utf8);
    void SetText(std::u16string wide);

    std::u16string text;
};

// Gives every locale text whose font is not fixed the font (on a language
// change, the new language's).
void ApplyFontToAllTexts(const Font* font);
// Every locale text that exists.
const std::set<LocaleTextComp*>& AllLocaleTexts();

// The font's glyph of a character, its first glyph when it has none, or
// null for a font without glyphs.
const Glyph* GlyphOrFallback(const Font& font, char16_t code);

} // namespace Engine::UI
