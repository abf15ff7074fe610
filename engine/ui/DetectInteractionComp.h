#pragma once
#include "engine/ui/ElementComp.h"

#include <cstdint>
#include <glm/glm.hpp>

namespace Engine::UI {

class Layer;

// Makes its element focusable and activatable. The mouse moving onto the
// element (on the top layer) or a focus move of the layer focuses it; the
// focused one of the top layer is activated by a left click inside it,
// Space, Return or a controller's A. Action components read `activated`
// during the next frame's tree update.
class DetectInteractionComp : public IElemComp {
public:
    static constexpr int kSpace = 44;
    static constexpr int kReturn = 40;
    static constexpr std::uint8_t kPadA = 0;
    // The text colour of a focused element.
    static constexpr glm::vec4 kHighlight{1.0f, 0.843137f, 0.0f, 1.0f};

    // Leaves the layer without a focus when it had it. It never calls into
    // the element's other components, which may be gone already.
    ~DetectInteractionComp() override;

    // The hover test.
    void Update() override;

    // Run by the layer for its focused component after the tree's update.
    void StepActivation();
    // Called by LayerStack::SetFocus.
    void OnFocus();
    void OnUnfocus();

    bool IsFocused() const;
    Layer* GetLayer() const;

    glm::vec2 mouseOffset{0.0f};
    std::uint8_t activated = 0;
    std::uint8_t released = 0;
};

} // namespace Engine::UI
