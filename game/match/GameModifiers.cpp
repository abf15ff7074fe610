#include "game/match/GameModifiers.h"

namespace {

struct Modifiers : Engine::Property_Holder {
    Engine::Property<Tarvex::Configs::Game> game{"game_modifiers", mPropertyMap};
    Engine::Property<Tarvex::Configs::Perks> perks{"perk_modifiers", mPropertyMap};
};

Modifiers& Instance()
{
    static Modifiers modifiers;
    return modifiers;
}

} // namespace

Engine::Property_Map& GameModifiers::GetInstance() { return Instance().GetPropertyMap(); }

Tarvex::Configs::Game& GameModifiers::GetGame() { return Instance().game.value; }

Tarvex::Configs::Perks& GameModifiers::GetPerks() { return Instance().perks.value; }

void GameModifiers::ResetToNew()
{
    GetGame() = Tarvex::Configs::Game();
    GetPerks() = Tarvex::Configs::Perks();
}
