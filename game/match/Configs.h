#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"

namespace Tarvex::Configs {

// The match rules. JSON: {"max_game_length": 90, "score_treshhold": 5}.
struct Game : Engine::Property_Holder {
    Engine::Property<unsigned int> max_game_length{"max_game_length", 90u, mPropertyMap};
    Engine::Property<unsigned int> score_treshhold{"score_treshhold", 5u, mPropertyMap};
};

// The perk choices for the next match; they carry over from match to match.
// JSON: {"Active", "Active2", "EnablePerks", "Passive", "Passive2"}. The
// selections are indexes into the perk lists and are not range-checked here.
struct Perks : Engine::Property_Holder {
    Engine::Property<bool> EnablePerks{"EnablePerks", true, mPropertyMap};
    Engine::Property<int> Active{"Active", 0, mPropertyMap};
    Engine::Property<int> Passive{"Passive", 0, mPropertyMap};
    Engine::Property<int> Active2{"Active2", 0, mPropertyMap};
    Engine::Property<int> Passive2{"Passive2", 0, mPropertyMap};
    // The player being given its perks; the spawner sets it just before
    // attaching them. Not saved.
    Engine::EntityHandle mPerkTarget;
};

} // namespace Tarvex::Configs
