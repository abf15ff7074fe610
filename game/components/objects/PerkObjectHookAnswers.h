#pragma once

// Fills the entries of the player's and the recorder's hooks that the
// forcefields and stun areas answer: the perks' and the peer's placements,
// and the objects a replay is short of.
void FillPlayerAndReplayHooksFromPerkObjects();
