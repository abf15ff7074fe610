#pragma once
#include "engine/render/Camera.h"

class MatchRecorder;

// The camera of replays and tutorials, owned by the match recorder and
// updated first in its Update. While the recorder plays back, it draws the
// frame itself from the focus player's recorded camera and switches the
// renderer's own camera pass off; while live it takes no room and leaves
// that pass on. It belongs to no entity.
class KillCamera : public Engine::GameCamera {
public:
    explicit KillCamera(const MatchRecorder& recorder);

    void Update() override;

    // Off: the camera still follows the played frames and keeps the
    // renderer's own pass off, but draws nothing (tests that play long
    // recordings look at a few frames only).
    bool drawing = true;

private:
    void ShowFrontFrame();

    const MatchRecorder* mRecorder;
};
