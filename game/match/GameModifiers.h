#pragma once
#include "engine/core/PropertyMap.h"
#include "game/match/Configs.h"

// The in-memory settings of the next match, built on first use and kept for
// the whole run: "game_modifiers" (Tarvex::Configs::Game) and
// "perk_modifiers" (Tarvex::Configs::Perks).
class GameModifiers {
public:
    static Engine::Property_Map& GetInstance();
    // The two records themselves, for code that does not go by name.
    static Tarvex::Configs::Game& GetGame();
    static Tarvex::Configs::Perks& GetPerks();
    // Both records as a new run has them.
    static void ResetToNew();
};
