#pragma once
#include "engine/ui/Element.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Engine::UI {

class DetectInteractionComp;
class LayerStack;

// What a layer builder hands back: the root of the new tree and the element
// whose DetectInteractionComp gets the first focus (null: none).
struct LayerBuild {
    std::unique_ptr<Canvas> root;
    IElement* focus = nullptr;
};

// Fills a LayerBuild; the menus' builders are plain functions.
using LayerBuilder = std::function<void(LayerBuild&)>;

// Bits of the direction mask read from keys, pad and stick.
enum Direction : std::uint8_t { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };

// One open menu page: its element tree and which interactive element has the
// focus. Only the top layer of its stack is live.
class Layer {
public:
    Layer() = default;
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // The tree's update; then, on the top layer, the focused element's
    // activation and a focus move in the held direction, at the key-repeat
    // rhythm.
    void Update();

    std::string name;
    // The direction mask read this frame.
    std::uint8_t direction = 0;
    DetectInteractionComp* focused = nullptr;
    LayerStack* stack = nullptr;
    std::unique_ptr<Canvas> root;
    // Seconds until the next focus move may happen.
    float repeatTimer = 0.0f;
    // Focus moves made while the direction is held.
    std::uint8_t repeatCount = 0;

private:
    // Whether this is the top layer of its stack.
    bool IsLive() const;
    void ResetRepeat();
    void MoveFocus();
};

} // namespace Engine::UI
