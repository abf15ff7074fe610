#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Engine {

// The life state of the scene (being built, running, shut down), whole-scene
// destruction between game modes, and scene-file requests served at one fixed
// point of the frame. Everything is static: there is one scene.
class SceneManager {
public:
    enum State : std::uint32_t { Idle = 0, Creation = 1, Active = 2 };

    // What a listener receives after a state change; a listener sets handled
    // to stop the walk over the remaining (earlier registered) listeners.
    struct StateChange {
        bool handled = false;
        bool flag = true;
        std::uint32_t oldState = Idle;
        std::uint32_t newState = Idle;
    };
    using Listener = std::function<void(StateChange&)>;

    SceneManager() = delete;

    static std::uint32_t GetState();
    // Logs "[SceneManager] Changed scene state: Old -> New" and notifies the
    // listeners, last registered first; setting the current state again does
    // nothing at all.
    static void SetState(std::uint32_t newState);
    static void SetIdle() { SetState(Idle); }
    static void SetCreation() { SetState(Creation); }
    static void SetActive() { SetState(Active); }
    static const char* StateName(std::uint32_t state);

    static void AddListener(Listener listener);
    // Idle, with no listener and no request waiting, as a new run starts.
    static void Reset();

    // Frees every entity slot and clears every component manager at once.
    static void DestroySceneImmediately();

    // Writes the scene file through a temporary file renamed over the old
    // one, so a failed save never leaves half a scene behind. False when
    // nothing was written.
    static bool SaveScene(const std::string& path);
    // Replaces the scene by the file's. A file that cannot be opened or
    // parsed destroys nothing and is reported; false then. A manager
    // refusing its section brings the previous scene back as it was, the
    // same objects, and its error reaches the caller.
    static bool LoadScene(const std::string& path);

    // Queue a save or load for the next ProcessRequests.
    static void RequestSave(const std::string& path);
    static void RequestLoad(const std::string& path);
    // Serves the pending save, then the pending load; once per frame. A
    // failure is reported on the console and never leaves this call.
    static void ProcessRequests();
};

} // namespace Engine
