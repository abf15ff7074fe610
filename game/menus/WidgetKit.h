#pragma once
#include "engine/ui/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine::UI {
class SpriteRenderComp;
}

// The kit the menu layers are built from: text buttons and labels with one
// look, a stack of text sizes, even rows and columns, and a bottom bar of
// two buttons.
namespace LayerCreator {

// Flags of a menu widget.
enum WidgetFlags : std::uint32_t {
    kPlain = 0,
    // A DetectInteractionComp and a ScaleOnHoverComp (to 1.05 in 0.075 s).
    kInteractive = 1,
    // A dark, see-through background sprite.
    kBackground = 2,
    kButton = 0xFFFFFFFFu,
};

constexpr float kDefaultTextSize = 0.8f;
constexpr float kHoverScale = 1.05f;
constexpr float kHoverSeconds = 0.075f;
inline constexpr glm::vec4 kBackgroundColour{0.1f, 0.1f, 0.1f, 0.7f};

// The text size factor every widget builder gives its text: the style
// stack's top, or 0.8 when it is empty. Builders push before a group of
// rows and pop after.
void PushTextStyle(float sizeFactor);
// Removes min(n, depth) entries.
void PopTextStyle(std::size_t n);
float CurrentTextStyle();
std::size_t TextStyleDepth();

// Relative size (0.9, 0.125), relative mode, and the components the flags
// ask for that the element lacks.
void SetupMenuWidget(Engine::UI::IElement& element, std::uint32_t flags);
// A widget under the parent with a text in the current language's font.
Engine::UI::Widget* MakeLocaleTextWidget(Engine::UI::Canvas& parent, std::uint32_t textId, std::uint32_t flags);
Engine::UI::Widget* MakePureTextWidget(Engine::UI::Canvas& parent, const std::u16string& text, std::uint32_t flags);
// A sprite on the "White" texture in the colour.
Engine::UI::SpriteRenderComp* AddSprite(Engine::UI::IElement& element, const glm::vec4& colour);

// Lays sibling elements out evenly along an axis, leaving the fraction
// `gap` of the parent's extent between them; the first one at the top (or
// left).
void SpreadVertically(const std::vector<Engine::UI::IElement*>& elements, float gap);
void SpreadHorizontally(const std::vector<Engine::UI::IElement*>& elements, float gap);

// Prepares a bottom-bar button (adds its action components).
using ButtonSetup = void (*)(Engine::UI::Widget& button);

struct BottomBar {
    Engine::UI::Widget* right;
    Engine::UI::Widget* left;
    Engine::UI::Canvas* bar;
};

// A bar along the bottom of the root with a left and a right button; a side
// without a setup function gets an empty widget in its place.
BottomBar MakeBottomBar(Engine::UI::Canvas& root, ButtonSetup leftSetup, std::uint32_t leftTextId,
                        ButtonSetup rightSetup, std::uint32_t rightTextId);

} // namespace LayerCreator
