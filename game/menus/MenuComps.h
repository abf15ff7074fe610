#pragma once
#include "engine/ui/Element.h"
#include "engine/ui/ElementComp.h"
#include "engine/ui/TextComps.h"

#include <cstdint>
#include <cstdio>
#include <glm/glm.hpp>

namespace LayerCreator {

// A component that writes a watched value into its element's text.
class IDisplayVarAsText {
public:
    virtual ~IDisplayVarAsText() = default;
    virtual void ShowValue() = 0;
};

// Shows a variable it does not own and follows it: whenever the value
// differs from the one shown, the text is rewritten in the same update.
// For bool the element's locale text shows text 12 (on) or 13 (off); for a
// size it is a pure text "W x H".
template <class T>
class DisplayVarAsTextComp : public Engine::UI::IElemComp, public IDisplayVarAsText {
public:
    static constexpr std::uint32_t kOnText = 12;
    static constexpr std::uint32_t kOffText = 13;

    explicit DisplayVarAsTextComp(const T* watched) : variable(watched) {}

    void Init() override
    {
        text = owner->GetComp<Engine::UI::BaseTextComp>();
        ShowValue();
    }

    void Update() override
    {
        if (variable && *variable != shown)
            ShowValue();
    }

    void ShowValue() override;

    const T* variable;
    T shown{};
    Engine::UI::BaseTextComp* text = nullptr;
};

template <>
inline void DisplayVarAsTextComp<bool>::ShowValue()
{
    if (!variable)
        return;
    shown = *variable;
    if (auto* locale = dynamic_cast<Engine::UI::LocaleTextComp*>(text))
        locale->SetKey(shown ? kOnText : kOffText);
}

template <>
inline void DisplayVarAsTextComp<glm::uvec2>::ShowValue()
{
    if (!variable)
        return;
    shown = *variable;
    if (auto* pure = dynamic_cast<Engine::UI::PureTextComp*>(text)) {
        char line[256];
        std::snprintf(line, sizeof line, "%u x %u", shown.x, shown.y);
        pure->SetText(std::string_view(line));
    }
}

// Marks a perk label with the player whose perks it edits.
class FwdEditPlayerPerkComp : public Engine::UI::IElemComp {
public:
    explicit FwdEditPlayerPerkComp(std::uint32_t player = 0) : playerIndex(player) {}
    std::uint32_t playerIndex;
};

// Marks a tutorial button with its row of the tutorial table.
class StartTutorialComp : public Engine::UI::IElemComp {
public:
    explicit StartTutorialComp(std::uint32_t row = 0) : tutorialRow(row) {}
    std::uint32_t tutorialRow;
};

} // namespace LayerCreator
