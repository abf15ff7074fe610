#pragma once

namespace Engine {

// The camera test of render, transparent, instanced and text components:
// a camera draws a component whose "mCameraTarget" is `target` when either
// side is -1 or the two are equal. (HUD components are stricter: a camera
// of index -1 draws only those aimed at every camera.)
constexpr bool CameraDraws(int target, int cameraIndex)
{
    return target == -1 || cameraIndex == -1 || target == cameraIndex;
}

} // namespace Engine
