#pragma once
#include "engine/ui/Layer.h"

#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <vector>

namespace Engine::UI {

// The open menu layers, bottom to top; it owns them. Pushes and pops that
// components ask for during an update are served at its end, the pop before
// the push, so a button can replace its own layer.
class LayerStack {
public:
    // The game's stack, there for the whole run.
    static LayerStack& GetInstance();

    LayerStack() = default;
    ~LayerStack();
    LayerStack(const LayerStack&) = delete;
    LayerStack& operator=(const LayerStack&) = delete;

    // Builds a layer at once and puts it on top; its first focus is the
    // builder's focus element's DetectInteractionComp.
    Layer* Push(const LayerBuilder& builder, const std::string& name);
    // Served at the end of the next Update; a later request replaces it.
    void RequestPush(const LayerBuilder& builder, const std::string& name);
    // Served at the end of the next Update.
    void RequestPop() { popRequest = 1; }
    // Destroys the top layer; nothing when empty.
    void Pop();
    // Destroys the top n + 1 layers (all there are, at most); a negative n,
    // as IndexFromTop gives for a layer that is not here, pops nothing.
    void PopN(int n);
    // Destroys every layer and drops the push and pop asked for.
    void Clear();

    // Searches from the top down.
    Layer* Find(const std::string& name) const;
    // 0 for the top layer; -1 when absent.
    int IndexFromTop(const Layer* layer) const;
    // Null when there are not that many layers.
    Layer* GetFromTop(int n) const;
    Layer* Top() const { return GetFromTop(0); }
    bool IsTop(const Layer* layer) const { return layer && Top() == layer; }
    std::size_t Size() const { return mLayers.size(); }

    // Updates the top n + 1 layers, top first, then serves the requests.
    void Update(int n = 0);
    // Draws the top n + 1 layers, top first.
    void RenderTop(int n = 0);
    // Lays out every layer's tree, bottom to top (after a window resize).
    void LayoutAll();
    // The host's mouse position in UI coordinates: the pixel offset from the
    // window centre over half the window's size.
    void ReadMouse();

    // Moves the layer's focus: the old element is unfocused, the new one
    // focused. Null only unfocuses; the focused one again changes nothing.
    static void SetFocus(Layer* layer, DetectInteractionComp* comp);

    std::uint8_t popRequest = 0;
    glm::vec2 mouse{0.0f};

private:
    std::unique_ptr<Layer> Build(const LayerBuilder& builder, const std::string& name);
    // Takes the top layer off; destroyed at once, or at the end of the update
    // that is walking it.
    void RemoveTop();

    std::vector<std::unique_ptr<Layer>> mLayers;
    LayerBuilder mPendingBuilder;
    std::string mPendingName;
    // Layers popped while an update walks them, destroyed when it ends.
    std::vector<std::unique_ptr<Layer>> mRetired;
    bool mUpdating = false;
};

} // namespace Engine::UI
