#pragma once
#include <iosfwd>
#include <optional>
#include <string>

class GameState;

// The developers' shortcuts into a networked match from a running local
// one: F6 hosts, F7 joins the address typed on the console beforehand ("c"
// for this machine; with nothing typed yet, F7 does nothing). Only while
// not connected.
namespace ArenaDebugKeys {

void Update(GameState& state);

// The address typed for F7: one word of at most 100 characters, "c"
// standing for 127.0.0.1, cut to 21 characters. Nothing when no word could
// be read (empty or closed input).
std::optional<std::string> ReadJoinAddress(std::istream& in);

} // namespace ArenaDebugKeys
