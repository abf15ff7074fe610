#pragma once

// Fills every hook of the match's components (the player's, the ball's, the
// tiles' and the recorder's) with the parts of the match that answer them: the entries the balls, the goal ball, the medals and the perk
// objects fill, and here the peer's arena flip (the game state starts it),
// the tiles' upside-down test (the game state's flag), the end of play and
// the end of the replay (the gameplay mode's flow flags); and the engine
// frame's step before drawing, the players' hold. The scene builder
// installs them with every match; a mode that wants other answers (a
// tutorial's replay) sets its own entries after building.
void FillHooksForMatch();
