#pragma once

// Fills the entries of the player's and the recorder's hooks that the
// balls, the goal ball and the medals answer: medals pushed on a player's
// medal component, the end-of-match display, the ball's shot flags, the
// goal ball's presence and its quiet spawn (the peer's record, a replay).
void FillPlayerAndReplayHooksFromBalls();
