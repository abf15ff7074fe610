#pragma once
#include "engine/ui/ElementComp.h"

#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <vector>

namespace Engine::UI {

class Canvas;
class Layer;

// Where an element lies on screen, for focus navigation.
struct ElementRect {
    glm::vec2 normalisedSize;
    glm::vec2 screenPosition;
    glm::vec2 anchorPoint;
    glm::vec2 anchor;
};

// A rectangle of a menu, placed and sized in fractions of its parent (of the
// window for a root), carrying components that give it looks and behaviour.
//
// Coordinates are the window's normalised device coordinates: (0, 0) the
// centre, -1 to 1 on both axes, y up. Sizes are half-extents: an element
// covers its anchor point plus or minus its normalised size.
class IElement {
public:
    enum Kind : std::uint8_t { kWidget = 1, kCanvas = 2 };
    enum SizeMode : std::uint8_t { kRelative = 0, kAbsolute = 1 };

    virtual ~IElement();
    IElement(const IElement&) = delete;
    IElement& operator=(const IElement&) = delete;

    // Runs the components' Update in order (a canvas updates its children
    // instead).
    virtual void Update();
    // Runs the components' Render in order (a canvas then renders its
    // children, later ones over earlier ones).
    virtual void Render();
    // Recomputes the normalised and pixel sizes from the window's size (a
    // canvas then lays out its children). A parent or window of size 0
    // gives size 0.
    virtual void Layout();

    // Each component kept in 0 to 1 as an absolute value; then Layout.
    void SetRelativeSize(const glm::vec2& size);
    // Axis 1 is y, any other x.
    void SetRelativeSize(float value, int axis);
    // Takes effect at the next Layout.
    void SetSizeMode(std::uint8_t mode) { sizeMode = mode; }
    // Kept in 0 to 2; then Layout.
    void SetScale(float value);

    glm::vec2 GetScreenPosition() const;
    glm::vec2 GetAnchorPoint() const;
    ElementRect GetRect() const;
    // True when the point lies in the box: anchor point plus or minus the
    // normalised size, edges included.
    bool Contains(const glm::vec2& point) const;

    IElement* GetRoot();
    // The layer that owns the root, or null for a tree no layer holds.
    Layer* GetRootLayer();

    // The first component that is a T, or null.
    template <class T>
    T* GetComp() const
    {
        for (const auto& comp : components) {
            if (auto* found = dynamic_cast<T*>(comp.get()))
                return found;
        }
        return nullptr;
    }

    // Takes the component unless the element already has a T, in which case
    // the new one is destroyed and null returned. An accepted component gets
    // its owner, runs Init and is appended.
    template <class T>
    T* AddComp(std::unique_ptr<T> comp)
    {
        if (!comp || GetComp<T>())
            return nullptr;
        T* added = comp.get();
        Accept(std::move(comp));
        return added;
    }

    // AddComp with a component built in place from the arguments.
    template <class T, class... Args>
    T* MakeComp(Args&&... args)
    {
        return AddComp(std::make_unique<T>(std::forward<Args>(args)...));
    }

    const std::vector<std::unique_ptr<IElemComp>>& Components() const { return components; }

    std::uint8_t kind;
    std::uint8_t sizeMode = kRelative;
    // The origin, in units of the parent's normalised size, from the
    // parent's anchor point.
    glm::vec2 position{0.0f};
    // The reference point (children are placed from it, focus moves aim at
    // it), as a fraction of the element's own normalised size.
    glm::vec2 anchor{0.0f};
    glm::vec2 relativeSize{0.25f};
    glm::vec2 normalisedSize{0.0f};
    // Pixels.
    glm::vec2 absoluteSize{0.0f};
    float scale = 1.0f;
    Canvas* parent = nullptr;
    // Set on a root only, by the layer that owns it.
    Layer* layer = nullptr;

protected:
    // Joins the parent's children when one is given, then lays out.
    IElement(Kind kind, Canvas* parent);

    void Accept(std::unique_ptr<IElemComp> comp);
    glm::vec2 ParentPixels() const;

    std::vector<std::unique_ptr<IElemComp>> components;

    friend class Canvas;
};

// A leaf element.
class Widget : public IElement {
public:
    explicit Widget(Canvas* parent = nullptr) : IElement(kWidget, parent) {}
};

// An element that also holds child elements, which it owns.
class Canvas : public IElement {
public:
    explicit Canvas(Canvas* parent = nullptr) : IElement(kCanvas, parent) {}
    ~Canvas() override;

    void Update() override;
    void Render() override;
    void Layout() override;

    // A new child element of this canvas, owned by it.
    template <class E>
    E* Make()
    {
        return new E(this);
    }

    // Takes ownership and appends, unless the element is a child already.
    void AddChild(IElement* child);
    // Gives the child back to the caller, without a parent and without the
    // focus of the layer; null when it is not a child.
    std::unique_ptr<IElement> RemoveChild(IElement* child);
    // Destroys every child, then every own component.
    void ClearChildren();

    const std::vector<IElement*>& Children() const { return children; }

private:
    std::vector<IElement*> children;
};

} // namespace Engine::UI
