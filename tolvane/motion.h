// How the axes of a simulated card move. Nothing runs in the background:
// each call first brings the card up to the clock (Advance), computing where
// every move has got to from its plan, so a test clock drives it exactly.
#pragma once

#include <array>
#include <cstdint>

#include "moves.h"

namespace tolvane {

struct Axis;
struct Card;

namespace motion {

// Brings every move of the card up to `now`.
void Advance(Card& card, double now);

// The move that holds axis `index` of the card, running or waiting, or nullptr.
const Motion* MotionOf(const Card& card, int index);

// Starting moves. Each answers kBusy and changes nothing when an axis already
// has a move; otherwise the move starts now, or waits for the card's common
// start when its (first) axis's sync option asks for it. The card must have
// been brought up to `now`.
int16_t MoveAxis(Card& card, int index, int64_t distance, bool sCurve, double now);
int16_t RunAxis(Card& card, int index, int direction, double now);
int16_t HomeAxis(Card& card, int index, int direction, bool highSpeed, double now);
int16_t MoveLine(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> distance, const Profile& vector,
                 double now);
// End and centre relative to where the axes are.
int16_t MoveArc(Card& card, std::array<int, 2> axes, std::array<int64_t, 2> end, std::array<int64_t, 2> centre,
                bool counterClockwise, const Profile& vector, double now);

// Calls on a card that was brought up to the time of the call.

// A new drive speed for the move of the axis, or for its next move at rest;
// kBadValue below the start speed. A stop under way keeps stopping.
int16_t ChangeSpeed(Card& card, int index, double speed);
// Stops of one axis's move (both axes of an interpolation), over `time`
// seconds or at once; a waiting move is dropped. Partners in sync stop go
// with it.
void DecelStop(Card& card, int index, double time);
void ImmediateStop(Card& card, int index);
// Starts every waiting move of the card at once; stops every move at once.
void StartWaiting(Card& card, double now);
void StopAll(Card& card);

} // namespace motion
} // namespace tolvane
