#pragma once
#include "engine/logic/LogicComp.h"

// A tile no player can raise or lower (the arena's border, the host's
// chosen tiles), in the palette's immovable colours. Its number joins the
// grid's list of immovable tiles once.
class ImmovableTile : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    // The colours again every frame, so palette fades reach the tile.
    void Update() override;
};
