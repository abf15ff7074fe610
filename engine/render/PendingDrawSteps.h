#pragma once
// Frame steps of components whose managers do not exist yet (particle
// emitters, instanced renderables, HUD and text components). The frame calls
// each one where it belongs; until its manager arrives it draws nothing.

namespace Engine {

class Camera;
class ShaderProgram;

namespace PendingDrawSteps {

// ParticleEmitterManager::Update: every frame, also with rendering off.
inline void UpdateParticleEmitters() {}
// ParticleEmitterManager::Render, with "Quad" current and its projection set.
inline void DrawParticles(const Camera&) {}
// InstancedRenderableManager::Render with the program, or each with its own.
inline void DrawInstancedRenderables(const ShaderProgram*, int cameraIndex) {}
// HUDCompManager::Render, with "Quad" current and the canvas set.
inline void DrawHudComponents(int cameraIndex) {}
// FontRenderCompManager::Render, with "Text" current and the canvas set.
inline void DrawTextComponents(int cameraIndex) {}

} // namespace PendingDrawSteps
} // namespace Engine
