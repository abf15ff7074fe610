#include "game/arena/KillCamera.h"

#include "engine/render/Renderer.h"
#include "game/arena/MatchRecorder.h"

#include <iostream>

KillCamera::KillCamera(const MatchRecorder& recorder) : mRecorder(&recorder)
{
    mFoV.value = 90.0f;
    mNear.value = 0.01f;
    mFar.value = 100.0f;
    mCameraIndex.value = -1;
}

void KillCamera::Update()
{
    if (!mRecorder->isLive) {
        ShowFrontFrame();
        return;
    }
    Engine::Renderer::GetInstance().renderingEnabled = true;
    mViewportIntake.value = glm::vec2(0.0f);
    Camera::Update();
}

// Nothing at all without a frame to show.
void KillCamera::ShowFrontFrame()
{
    if (mRecorder->playback.empty())
        return;
    const MatchFrame& frame = *mRecorder->playback.front();
    const int focus = mRecorder->focusPlayer == 1 ? 1 : 0;
    SetTarget(frame.cams[focus].target);
    SetPosition(frame.cams[focus].pos);
    // 2 while following player 1, 1 while following player 2: the HUD
    // elements meant for that camera index show over the replay.
    mCameraIndex.value = (focus + 1) % 2 + 1;
    std::cout << "Cam idx: " << mCameraIndex.value << "\n";
    mViewportIntake.value = glm::vec2(1.0f);
    // The basis first, so the frame is drawn from where the camera is now.
    Camera::Update();

    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    if (drawing) {
        renderer.Clear();
        renderer.RenderCamera(*this);
        if (renderer.overlayCallback)
            renderer.overlayCallback();
    }
    renderer.renderingEnabled = false;
}
