// The position clock and the ticker thread that turns it into the playing
// position every 100 ms: the decoder's position at the last synchronisation
// plus the wall-clock time since, times the speed. Positions are recording
// time whatever the speed.
#pragma once
#include <cstdint>

struct PlayerState;

// count x 1000 / frequency, exact to the millisecond for any count: a counter
// read in whole ticks drifts no matter how long the recording.
uint64_t ClockMilliseconds(uint64_t count, uint64_t frequency);
// Milliseconds from the performance counter, or GetTickCount64 without one.
uint64_t PositionClockNow();
// The clock restarts at the current input module's position.
void PositionClockSync(PlayerState* state);
// The clock restarts at positionMs of the recording.
void PositionClockSyncTo(PlayerState* state, uint64_t positionMs);
// Milliseconds of the recording played by now: the synchronised position plus
// the time since at the current speed.
uint64_t PositionClockMs(const PlayerState* state);
// One report: PN_POSITION when the whole seconds changed, then PN_PROGRESS when that changed.
void PositionTick(PlayerState* state);
// Starts the ticker thread (its handle in state->ticker); it ends once the
// state's quit event is set. Non-zero on success.
int PositionTickerStart(PlayerState* state);
