#pragma once

// The factory's registration callback: every logic-component type that a
// scene file or an archetype may name, registered under its own type name.
// `main` hands it to Engine::Factory before anything else runs.
void RegisterLogicTypes();
