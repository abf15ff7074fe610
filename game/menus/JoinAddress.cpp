#include "game/menus/JoinAddress.h"

#include "game/match/GameState.h"

#include <filesystem>
#include <fstream>

std::string ReadIPToConnect(const std::string& path)
{
    // Opening a named pipe or a device would wait for a writer, or read
    // forever: the join screen would freeze.
    std::error_code unreadable;
    if (!std::filesystem::is_regular_file(path, unreadable))
        return {};
    std::ifstream file(path);
    if (!file)
        return {};
    // Read in bounded pieces: a hostile file may hold one endless line.
    std::string line;
    char c = 0;
    while (line.size() < GameState::kMaxJoinAddressLength && file.get(c) && c != '\n')
        line += c;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void LoadIPToConnect(GameState& state) { state.joinAddress = ReadIPToConnect(); }
