#include "engine/ui/LayerStack.h"

#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/FocusNavigation.h"
#include "engine/ui/UiGeometry.h"
#include "engine/ui/UiHost.h"

#include <algorithm>

namespace Engine::UI {

namespace {

// The key-repeat rhythm of a held direction.
constexpr float kFirstRepeat = 0.5f;
constexpr float kLaterRepeat = 0.075f;
// How far past the focused element's edge the search starts.
constexpr float kSearchReach = 0.9f;

LayerStack gStack;

} // namespace

Layer::~Layer()
{
    // The tree goes first, while its components can still see this record.
    root.reset();
}

void Layer::ResetRepeat()
{
    repeatTimer = 0.0f;
    repeatCount = 0;
}

bool Layer::IsLive() const { return stack && stack->IsTop(this); }

void Layer::Update()
{
    // Read before the tree runs: an element that steers by the held
    // direction sees this frame's keys, so a key down for one frame counts
    // in that frame.
    direction = IsLive() ? ReadDirectionMask(Host()) : 0;
    if (root)
        root->Update();
    if (!IsLive()) {
        direction = 0;
        ResetRepeat();
        return;
    }
    if (!focused)
        return;
    focused->StepActivation();
    if (direction == 0)
        ResetRepeat();
    else if (repeatTimer <= 0.0f)
        MoveFocus();
    repeatTimer = std::max(0.0f, repeatTimer - Host().FrameTime());
}

void Layer::MoveFocus()
{
    const ElementRect rect = focused->owner->GetRect();
    glm::vec2 q = rect.anchorPoint;
    const glm::vec2 reach = kSearchReach * rect.normalisedSize;
    if (direction & kUp)
        q.y += reach.y;
    if (direction & kDown)
        q.y -= reach.y;
    if (direction & kLeft)
        q.x -= reach.x;
    if (direction & kRight)
        q.x += reach.x;
    DetectInteractionComp* found = root ? FindFocusInDirection(*root, focused, q, direction) : nullptr;
    if (!found)
        return;
    repeatTimer = repeatCount == 0 ? kFirstRepeat : kLaterRepeat;
    if (repeatCount < 255)
        ++repeatCount;
    LayerStack::SetFocus(this, found);
}

LayerStack& LayerStack::GetInstance() { return gStack; }

LayerStack::~LayerStack() { Clear(); }

std::unique_ptr<Layer> LayerStack::Build(const LayerBuilder& builder, const std::string& name)
{
    auto layer = std::make_unique<Layer>();
    layer->name = name;
    layer->stack = this;
    LayerBuild build;
    if (builder)
        builder(build);
    layer->root = std::move(build.root);
    if (!layer->root)
        layer->root = std::make_unique<Canvas>();
    layer->root->layer = layer.get();
    if (build.focus)
        SetFocus(layer.get(), build.focus->GetComp<DetectInteractionComp>());
    return layer;
}

Layer* LayerStack::Push(const LayerBuilder& builder, const std::string& name)
{
    mLayers.push_back(Build(builder, name));
    return mLayers.back().get();
}

void LayerStack::RequestPush(const LayerBuilder& builder, const std::string& name)
{
    mPendingBuilder = builder;
    mPendingName = name;
}

void LayerStack::RemoveTop()
{
    std::unique_ptr<Layer> top = std::move(mLayers.back());
    mLayers.pop_back();
    if (mUpdating)
        mRetired.push_back(std::move(top));
}

void LayerStack::Pop()
{
    if (!mLayers.empty())
        RemoveTop();
}

void LayerStack::PopN(int n)
{
    for (int i = 0; i <= n && !mLayers.empty(); ++i)
        RemoveTop();
}

void LayerStack::Clear()
{
    while (!mLayers.empty())
        RemoveTop();
    // What was asked of the stack went with its layers: a push asked for
    // over them would otherwise open over whatever is pushed next.
    popRequest = 0;
    mPendingBuilder = nullptr;
    mPendingName.clear();
}

Layer* LayerStack::Find(const std::string& name) const
{
    for (auto layer = mLayers.rbegin(); layer != mLayers.rend(); ++layer) {
        if ((*layer)->name == name)
            return layer->get();
    }
    return nullptr;
}

int LayerStack::IndexFromTop(const Layer* layer) const
{
    for (std::size_t i = 0; i < mLayers.size(); ++i) {
        if (mLayers[mLayers.size() - 1 - i].get() == layer)
            return static_cast<int>(i);
    }
    return -1;
}

Layer* LayerStack::GetFromTop(int n) const
{
    if (n < 0 || static_cast<std::size_t>(n) >= mLayers.size())
        return nullptr;
    return mLayers[mLayers.size() - 1 - static_cast<std::size_t>(n)].get();
}

void LayerStack::Update(int n)
{
    // The layers to update are fixed before any of them runs: a button may
    // push or pop layers meanwhile, and a popped one lives on in mRetired
    // until the walk is over.
    std::vector<Layer*> walk;
    for (int i = 0; i <= n && static_cast<std::size_t>(i) < mLayers.size(); ++i)
        walk.push_back(GetFromTop(i));
    mUpdating = true;
    for (Layer* layer : walk)
        layer->Update();
    mUpdating = false;
    mRetired.clear();

    if (popRequest) {
        Pop();
        popRequest = 0;
    }
    if (mPendingBuilder) {
        // Taken out first: the builder may itself ask for another push.
        LayerBuilder builder = std::move(mPendingBuilder);
        mPendingBuilder = nullptr;
        Push(builder, mPendingName);
    }
}

void LayerStack::RenderTop(int n)
{
    BeginUiDraw(Host().WindowSize());
    for (int i = 0; i <= n && static_cast<std::size_t>(i) < mLayers.size(); ++i) {
        if (Layer* layer = GetFromTop(i); layer->root)
            layer->root->Render();
    }
}

void LayerStack::LayoutAll()
{
    for (auto& layer : mLayers) {
        if (layer->root)
            layer->root->Layout();
    }
}

void LayerStack::ReadMouse()
{
    const glm::vec2 half = Host().WindowSize() * 0.5f;
    const glm::vec2 pixels = Host().MouseNow();
    mouse = glm::vec2(half.x > 0.0f ? pixels.x / half.x : 0.0f, half.y > 0.0f ? pixels.y / half.y : 0.0f);
}

void LayerStack::SetFocus(Layer* layer, DetectInteractionComp* comp)
{
    if (!layer || comp == layer->focused)
        return;
    DetectInteractionComp* old = layer->focused;
    layer->focused = comp;
    if (old)
        old->OnUnfocus();
    if (comp)
        comp->OnFocus();
}

} // namespace Engine::UI
