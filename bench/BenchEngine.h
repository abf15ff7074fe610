#pragma once
// The engine started as main starts it, once per benchmark process. Run
// from the build folder under xvfb-run -a -s "-screen 0 1280x720x24".
#include "engine/frame/Core.h"
#include "engine/logic/Factory.h"
#include "engine/render/Window.h"
#include "game/match/RegisterLogicTypes.h"

// Unless another benchmark of this process has opened the window already.
inline void StartEngineOnce()
{
    if (Engine::Window::Main())
        return;
    Engine::Factory::GetInstance().SetRegistrationCallback(&RegisterLogicTypes);
    Engine::Core::GetInstance().InitWindow();
    Engine::Core::GetInstance().Init();
}
