#include "game/match/GameState.h"

GameState& GameState::GetInstance()
{
    static GameState state;
    return state;
}

void GameState::Reset() {}
void GameState::ResetEvents(bool) {}
void GameState::ResetPalettes() {}
void GameState::Update() {}
