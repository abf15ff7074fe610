#pragma once
#include <string>

// What must hold before the game opens its window. Each returns "" when the
// start can go on, else the one message to end it with.

// The game reads data/ from the working directory; started from anywhere
// else, the first model it loads would end the process without saying why.
std::string DataFolderProblem();

// Without a display SDL falls back to a window that nobody sees, and the
// game would run on unseen. Asking for such a driver (SDL_VIDEODRIVER) is
// fine. Leaves SDL's video started when the display is good.
std::string DisplayProblem();
