#pragma once
#include <string>

class GameState;

// "ip_to_connect.txt" in the working directory: its first line (at most 21
// characters; the rest of a longer line is dropped) is the address the join
// screen shows before anything is typed. A missing file, or anything but a
// regular file, gives "".
void LoadIPToConnect(GameState& state);
std::string ReadIPToConnect(const std::string& path = "ip_to_connect.txt");
