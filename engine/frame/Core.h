#pragma once

namespace Engine {

// The engine object: opens the window, brings every engine service up in a
// fixed order, and runs one engine frame per Update. It is a plain static
// object, there from process start to exit.
//
// One frame, in this order: quit check, logic, physics, entity count,
// what the network received, the step before drawing, what the network
// sends, rendering and swap, sound, scene requests, input (end of frame,
// then the event pump), entity phase (queued destructions, world matrices),
// frame limiter, window size check. Logic, physics, the step before drawing
// and the entity phase stand still while paused; everything else goes on,
// so menus drawn over a paused match stay live.
class Core {
public:
    static Core& GetInstance();

    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // The window and the graphics libraries; a failure ends the process.
    void InitWindow();
    // Resources, input, sound, logic types, the component managers in their
    // fixed order, the random seed and the frame-time cap. Once, after
    // InitWindow.
    void Init();
    // One frame. False once the window is closing: a quit pumped during a
    // frame closes it at the start of the next, which still runs whole.
    bool Update();
    // Called by main after its loop; nothing is left to do here.
    void Shutdown();

    bool IsPaused() const { return mPaused; }
    void SetPaused(bool paused) { mPaused = paused; }

    // A rule of the game that must see every move of the frame (the logic's,
    // the physics', the peer's) before the frame is drawn and this side's
    // state is sent to the peer. It stands still while paused, as the logic
    // and the physics do. Null for none.
    using Step = void (*)();
    void SetBeforeDrawing(Step step) { mBeforeDrawing = step; }

private:
    constexpr Core() = default;

    static Core sInstance;

    bool mPaused = false;
    Step mBeforeDrawing = nullptr;
};

} // namespace Engine
