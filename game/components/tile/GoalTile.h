#pragma once
#include "engine/logic/LogicComp.h"

// Marks the tile the host chose as the goal tile; no behaviour of its own.
class GoalTile : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
};
