#pragma once
#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/FakeHost.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/TextComps.h"
#include "game/config/GameText.h"
#include "game/menus/MenuEvents.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// A home folder of its own, so that saved settings land in a temporary
// Documents folder; the working directory (with data/) stays.
class ScopedHome {
public:
    ScopedHome()
    {
        const char* old = std::getenv("HOME");
        mOld = old ? old : "";
        std::string pattern = (std::filesystem::temp_directory_path() / "solvane-home-XXXXXX").string();
        mPath = mkdtemp(pattern.data()) ? pattern : std::string();
        setenv("HOME", mPath.c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    ~ScopedHome()
    {
        setenv("HOME", mOld.c_str(), 1);
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    std::string ConfigPath() const { return mPath + "/Documents/Solvane2/config"; }

private:
    std::string mOld;
    std::string mPath;
};

// Menu pages on the game's layer stack, driven by a fake keyboard and mouse
// frame by frame; texts come from the real table.
class MenuFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GameText::Load("data/all_text"));
        Stack().Clear();
        MenuEvents::ClearAll();
        host.window = glm::vec2(1280.0f, 720.0f);
        host.NextFrame();
    }
    void TearDown() override { Stack().Clear(); }

    static Engine::UI::LayerStack& Stack() { return Engine::UI::LayerStack::GetInstance(); }
    static Engine::UI::Layer& Top() { return *Stack().Top(); }

    void Frame() { host.Frame(Stack()); }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    // Focuses the element and presses Return on it: its action runs in the
    // frame after the press, and the pages it asks for are there after it.
    void Activate(Engine::UI::IElement* element)
    {
        ASSERT_NE(element, nullptr);
        auto* detector = element->GetComp<Engine::UI::DetectInteractionComp>();
        ASSERT_NE(detector, nullptr);
        Engine::UI::LayerStack::SetFocus(element->GetRootLayer(), detector);
        Press(40);
    }
    void Press(int scancode)
    {
        host.keys.insert(scancode);
        Frame();
        host.keys.erase(scancode);
        Frame();
    }

    // The first element under the root whose locale text has the id.
    static Engine::UI::IElement* WithText(Engine::UI::IElement& root, std::uint32_t textId)
    {
        return FindElement(root, [textId](Engine::UI::IElement& e) {
            auto* text = e.GetComp<Engine::UI::LocaleTextComp>();
            return text && text->key == textId;
        });
    }
    static Engine::UI::IElement* WithText(std::uint32_t textId) { return WithText(*Top().root, textId); }
    // The first element under the root whose pure text starts with the text.
    static Engine::UI::IElement* WithPureText(Engine::UI::IElement& root, const std::u16string& start)
    {
        return FindElement(root, [&start](Engine::UI::IElement& e) {
            auto* text = e.GetComp<Engine::UI::PureTextComp>();
            return text && text->text.rfind(start, 0) == 0;
        });
    }

    static Engine::UI::IElement* FindElement(Engine::UI::IElement& root,
                                             const std::function<bool(Engine::UI::IElement&)>& test)
    {
        if (test(root))
            return &root;
        if (auto* canvas = dynamic_cast<Engine::UI::Canvas*>(&root)) {
            for (Engine::UI::IElement* child : canvas->Children()) {
                if (Engine::UI::IElement* found = FindElement(*child, test))
                    return found;
            }
        }
        return nullptr;
    }

    // The locale text shown on the focused element of the top layer.
    static std::uint32_t FocusedText()
    {
        Engine::UI::DetectInteractionComp* focused = Top().focused;
        if (!focused)
            return ~0u;
        auto* text = focused->owner->GetComp<Engine::UI::LocaleTextComp>();
        return text ? text->key : ~0u;
    }

    FakeHost host;
};
