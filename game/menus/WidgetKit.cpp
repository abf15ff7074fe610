#include "game/menus/WidgetKit.h"

#include "engine/render/Renderer.h"
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/ScaleOnHoverComp.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"

#include <algorithm>
#include <deque>

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

std::deque<float> gTextStyles;

constexpr glm::vec2 kMenuWidgetSize{0.9f, 0.125f};

// The bottom bar: where it sits and the gap between its buttons.
constexpr glm::vec2 kBarSize{0.9f, 0.1f};
constexpr float kBarGap = 0.5f;

template <class Text>
Widget* MakeTextWidget(Canvas& parent, std::uint32_t flags, std::unique_ptr<Text> text)
{
    auto* widget = parent.Make<Widget>();
    SetupMenuWidget(*widget, flags);
    widget->AddComp(std::move(text))->SetSizeFactor(CurrentTextStyle());
    return widget;
}

// Element i of n along one axis, at extent e and step s.
void Spread(const std::vector<IElement*>& elements, float gap, bool vertical)
{
    const std::size_t n = elements.size();
    if (n == 1) {
        elements[0]->position = glm::vec2(0.0f);
        elements[0]->anchor = glm::vec2(0.0f);
        elements[0]->SetSizeMode(IElement::kRelative);
        elements[0]->SetRelativeSize(glm::vec2(1.0f));
        return;
    }
    const float extent = (1.0f - gap) / static_cast<float>(n);
    const float step = gap / static_cast<float>(n - 1) + extent;
    for (std::size_t i = 0; i < n; ++i) {
        IElement& element = *elements[i];
        const float along = (1.0f - extent) - 2.0f * static_cast<float>(i) * step;
        element.SetSizeMode(IElement::kRelative);
        element.anchor = glm::vec2(0.0f);
        element.position = vertical ? glm::vec2(0.0f, along) : glm::vec2(-along, 0.0f);
        element.SetRelativeSize(vertical ? glm::vec2(1.0f, extent) : glm::vec2(extent, 1.0f));
    }
}

} // namespace

void PushTextStyle(float sizeFactor) { gTextStyles.push_back(sizeFactor); }

void PopTextStyle(std::size_t n)
{
    n = std::min(n, gTextStyles.size());
    gTextStyles.erase(gTextStyles.end() - static_cast<std::ptrdiff_t>(n), gTextStyles.end());
}

float CurrentTextStyle() { return gTextStyles.empty() ? kDefaultTextSize : gTextStyles.back(); }

std::size_t TextStyleDepth() { return gTextStyles.size(); }

void SetupMenuWidget(IElement& element, std::uint32_t flags)
{
    element.SetRelativeSize(kMenuWidgetSize);
    element.SetSizeMode(IElement::kRelative);
    if (flags & kInteractive) {
        element.MakeComp<Engine::UI::DetectInteractionComp>();
        element.MakeComp<Engine::UI::ScaleOnHoverComp>(kHoverScale, kHoverSeconds);
    }
    if ((flags & kBackground) && !element.GetComp<Engine::UI::SpriteRenderComp>())
        AddSprite(element, kBackgroundColour);
}

Widget* MakeLocaleTextWidget(Canvas& parent, std::uint32_t textId, std::uint32_t flags)
{
    return MakeTextWidget(parent, flags,
                          std::make_unique<Engine::UI::LocaleTextComp>(Engine::UI::GetLanguageFont(), textId));
}

Widget* MakePureTextWidget(Canvas& parent, const std::u16string& text, std::uint32_t flags)
{
    auto comp = std::make_unique<Engine::UI::PureTextComp>(Engine::UI::GetLanguageFont(), u"Text");
    comp->SetText(text);
    return MakeTextWidget(parent, flags, std::move(comp));
}

Engine::UI::SpriteRenderComp* AddSprite(IElement& element, const glm::vec4& colour)
{
    const Engine::Texture* white = Engine::Renderer::GetInstance().textures.Find("White");
    return element.MakeComp<Engine::UI::SpriteRenderComp>(white, colour);
}

void SpreadVertically(const std::vector<IElement*>& elements, float gap)
{
    if (!elements.empty())
        Spread(elements, gap, true);
}

void SpreadHorizontally(const std::vector<IElement*>& elements, float gap)
{
    if (!elements.empty())
        Spread(elements, gap, false);
}

BottomBar MakeBottomBar(Canvas& root, ButtonSetup leftSetup, std::uint32_t leftTextId, ButtonSetup rightSetup,
                        std::uint32_t rightTextId)
{
    auto* bar = root.Make<Canvas>();
    bar->SetRelativeSize(kBarSize);
    bar->SetSizeMode(IElement::kRelative);
    bar->position = glm::vec2(0.0f, -0.9f);
    bar->anchor = glm::vec2(0.0f, 1.0f);

    auto side = [bar](ButtonSetup setup, std::uint32_t textId) -> Widget* {
        if (!setup)
            return bar->Make<Widget>();
        Widget* button = MakeLocaleTextWidget(*bar, textId, kButton);
        setup(*button);
        return button;
    };
    Widget* left = side(leftSetup, leftTextId);
    Widget* right = side(rightSetup, rightTextId);
    SpreadHorizontally({left, right}, kBarGap);
    return {right, left, bar};
}

} // namespace LayerCreator
