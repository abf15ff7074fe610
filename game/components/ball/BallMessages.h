#pragma once
#include <glm/glm.hpp>

// What a ball tells the peer's copy of it: its trail starting or ending, a
// colour splash on a tile, a goal or a hit. Each is sent only while a link
// is up (the score also waits for the match set-up to be exchanged); on one
// machine they do nothing.
namespace BallMessages {

// The link is up.
bool Networked();
// The link is up and the match set-up has been exchanged.
bool MatchLinked();

void SendTrail(bool on);
// `position` is the ball's own position at the contact, `up` the tile's.
void SendSplash(const glm::vec3& position, const glm::vec3& up);
// The shooter's score after a goal (hit false) or a hit on the opponent.
void SendScore(int score, bool hit);

} // namespace BallMessages
