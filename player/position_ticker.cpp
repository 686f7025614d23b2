// Position clock and ticker thread.
#include "position_ticker.h"

#include "player/player_messages.h"
#include "player/player_thread.h"

namespace {

DWORD WINAPI TickerMain(void* parameter) {
  PlayerState* state = static_cast<PlayerState*>(parameter);
  PositionClockSync(state);
  // The player thread waits for this thread before it frees the state.
  while (WaitForSingleObject(state->quitEvent, 100) == WAIT_TIMEOUT)
    if (state->ticking) PositionTick(state);
  return 0;
}

}  // namespace

uint64_t ClockMilliseconds(uint64_t count, uint64_t frequency) {
  if (!frequency) return 0;
  // Whole seconds and the rest apart: no overflow, and no truncated ticks per millisecond.
  return count / frequency * 1000 + count % frequency * 1000 / frequency;
}

uint64_t PositionClockNow() {
  LARGE_INTEGER frequency, count;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0 && QueryPerformanceCounter(&count))
    return ClockMilliseconds(uint64_t(count.QuadPart), uint64_t(frequency.QuadPart));
  return GetTickCount64();
}

void PositionClockSync(PlayerState* state) {
  InputModule* input = state->modules.current;
  uint64_t position = input && input->GetPosition ? input->GetPosition(input) : 0;
  PositionClockSyncTo(state, position * 1000);
}

void PositionClockSyncTo(PlayerState* state, uint64_t positionMs) {
  state->clockStartMs = positionMs;
  state->clockBase = PositionClockNow();
}

uint64_t PositionClockMs(const PlayerState* state) {
  uint64_t now = PositionClockNow();
  uint64_t base = state->clockBase;
  uint64_t elapsed = now > base ? now - base : 0;
  return state->clockStartMs + elapsed * state->speed / 100;
}

void PositionTick(PlayerState* state) {
  uint32_t seconds = 0;
  uint32_t length = state->length;
  if (state->outputOpen) {
    uint64_t elapsed = PositionClockMs(state) / 1000;
    seconds = elapsed > 0xFFFFFFFFull ? 0xFFFFFFFFu : uint32_t(elapsed);
    if (seconds >= length) {
      // Past the end, or no length at all: report 0 and stop ticking.
      state->ticking = 0;
      seconds = 0;
    }
  } else {
    state->ticking = 0;
  }
  if (LONG(seconds) == state->lastPosition) return;
  state->lastPosition = LONG(seconds);
  PlayerNotify(state, PN_POSITION, 0, LPARAM(seconds));
  uint32_t scale = state->progressScale;
  if (!scale || !length) return;
  LONG progress = LONG(double(seconds) / double(length) * double(scale));
  if (progress == state->lastProgress) return;
  state->lastProgress = progress;
  PlayerNotify(state, PN_PROGRESS, 0, LPARAM(progress));
}

int PositionTickerStart(PlayerState* state) {
  state->ticker = CreateThread(nullptr, 0, TickerMain, state, 0, nullptr);
  return state->ticker != nullptr;
}
