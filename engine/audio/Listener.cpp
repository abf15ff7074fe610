#include "engine/audio/Listener.h"

#include "engine/audio/SoundSystem.h"
#include "engine/core/Transform.h"
#include "engine/render/Camera.h"
#include "engine/render/Renderer.h"

namespace Engine {

namespace {

struct Axes {
    glm::vec3 at{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
};

// The editor camera's; before the renderer has made it, the axes it starts
// with.
Axes EditorCameraAxes()
{
    const EditorCamera* camera = Renderer::GetInstance().editorCamera;
    return camera ? Axes{camera->forward, camera->up} : Axes{};
}

} // namespace

TypeNode* Listener::RegisterClassType() { return TypeRegistry::RegisterUnder<Listener, LogicComp>(); }

void Listener::Update()
{
    DummySoundSystem& audio = SoundSystem::InstanceOrSilent();
    const glm::vec3 position = Transform::GetWorldPosition(owner);
    audio.SetListenerPosition(position.x, position.y, position.z);
    const Axes axes = EditorCameraAxes();
    audio.SetListenerOrientation(axes.at, axes.up);
}

} // namespace Engine
