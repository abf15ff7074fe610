#pragma once
#include <string>

namespace Engine::UI {

class IElement;

// A piece of looks or behaviour attached to one UI element, which owns it.
// Init runs once when the element accepts the component (its owner is set
// by then); Update and Render run with the element's.
class IElemComp {
public:
    IElemComp() = default;
    virtual ~IElemComp() = default;
    IElemComp(const IElemComp&) = delete;
    IElemComp& operator=(const IElemComp&) = delete;

    virtual void Init() {}
    virtual void Update() {}
    virtual void Render() {}

    IElement* owner = nullptr;
};

} // namespace Engine::UI
