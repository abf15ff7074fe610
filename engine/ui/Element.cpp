#include "engine/ui/Element.h"

#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/UiHost.h"

#include <algorithm>

namespace Engine::UI {

namespace {

constexpr float kMaxScale = 2.0f;

// a / b per axis, 0 where b is 0, so an empty parent or window never gives
// an infinity or a NaN.
glm::vec2 SafeDivide(const glm::vec2& a, const glm::vec2& b)
{
    return {b.x != 0.0f ? a.x / b.x : 0.0f, b.y != 0.0f ? a.y / b.y : 0.0f};
}

float ClampUnit(float value) { return std::clamp(std::abs(value), 0.0f, 1.0f); }

bool IsWithin(const IElement* element, const IElement* subtree)
{
    for (; element; element = element->parent) {
        if (element == subtree)
            return true;
    }
    return false;
}

} // namespace

IElement::IElement(Kind elementKind, Canvas* parentCanvas) : kind(elementKind)
{
    if (parentCanvas)
        parentCanvas->AddChild(this);
    absoluteSize = relativeSize * ParentPixels();
    Layout();
}

IElement::~IElement() = default;

glm::vec2 IElement::ParentPixels() const { return parent ? parent->absoluteSize : Host().WindowSize(); }

void IElement::Accept(std::unique_ptr<IElemComp> comp)
{
    comp->owner = this;
    comp->Init();
    components.push_back(std::move(comp));
}

void IElement::Update()
{
    for (std::size_t i = 0; i < components.size(); ++i)
        components[i]->Update();
}

void IElement::Render()
{
    for (std::size_t i = 0; i < components.size(); ++i)
        components[i]->Render();
}

void IElement::Layout()
{
    const glm::vec2 window = Host().WindowSize();
    if (sizeMode == kAbsolute) {
        normalisedSize = SafeDivide(scale * absoluteSize, window);
        if (parent && parent->normalisedSize.x != 0.0f && parent->normalisedSize.y != 0.0f)
            relativeSize = normalisedSize / parent->normalisedSize;
        return;
    }
    const glm::vec2 parentSize = parent ? parent->normalisedSize : glm::vec2(1.0f);
    normalisedSize = parentSize * relativeSize * scale;
    absoluteSize = normalisedSize * window;
}

void IElement::SetRelativeSize(const glm::vec2& size)
{
    relativeSize = glm::vec2(ClampUnit(size.x), ClampUnit(size.y));
    absoluteSize = relativeSize * ParentPixels();
    Layout();
}

void IElement::SetRelativeSize(float value, int axis)
{
    glm::vec2 size = relativeSize;
    (axis == 1 ? size.y : size.x) = value;
    SetRelativeSize(size);
}

void IElement::SetScale(float value)
{
    scale = std::clamp(value, 0.0f, kMaxScale);
    Layout();
}

glm::vec2 IElement::GetScreenPosition() const
{
    if (!parent)
        return position;
    return parent->GetScreenPosition() + parent->anchor * parent->normalisedSize + position * parent->normalisedSize;
}

glm::vec2 IElement::GetAnchorPoint() const { return GetScreenPosition() + anchor * normalisedSize; }

ElementRect IElement::GetRect() const { return {normalisedSize, GetScreenPosition(), GetAnchorPoint(), anchor}; }

bool IElement::Contains(const glm::vec2& point) const
{
    const glm::vec2 a = GetAnchorPoint();
    const glm::vec2 s = normalisedSize;
    return a.x - s.x <= point.x && point.x <= a.x + s.x && a.y - s.y <= point.y && point.y <= a.y + s.y;
}

IElement* IElement::GetRoot()
{
    IElement* element = this;
    while (element->parent)
        element = element->parent;
    return element;
}

Layer* IElement::GetRootLayer() { return GetRoot()->layer; }

Canvas::~Canvas()
{
    // Children first: their components may still look up through us.
    for (IElement* child : children)
        delete child;
    children.clear();
}

void Canvas::Update()
{
    // By index: a child's update may add children to this canvas.
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->Update();
}

void Canvas::Render()
{
    IElement::Render();
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->Render();
}

void Canvas::Layout()
{
    IElement::Layout();
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->Layout();
}

void Canvas::AddChild(IElement* child)
{
    if (!child || child == this || std::find(children.begin(), children.end(), child) != children.end())
        return;
    // An element has one owner: moving it here takes it from its old parent.
    if (child->parent)
        child->parent->RemoveChild(child).release();
    child->parent = this;
    children.push_back(child);
}

std::unique_ptr<IElement> Canvas::RemoveChild(IElement* child)
{
    auto found = std::find(children.begin(), children.end(), child);
    if (found == children.end())
        return nullptr;
    // Once out of the tree the element cannot find its layer again, so it
    // gives up the focus while it still can.
    Layer* rootLayer = GetRootLayer();
    if (rootLayer && rootLayer->focused && IsWithin(rootLayer->focused->owner, child))
        LayerStack::SetFocus(rootLayer, nullptr);
    children.erase(found);
    child->parent = nullptr;
    return std::unique_ptr<IElement>(child);
}

void Canvas::ClearChildren()
{
    std::vector<IElement*> doomed;
    doomed.swap(children);
    for (IElement* child : doomed)
        delete child;
    components.clear();
}

} // namespace Engine::UI
