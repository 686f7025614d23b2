// Pedal reports and the pedal state machine.
#include "player/pedal.h"

PedalConfig PedalDefaultConfig() {
  PedalConfig config{};
  config.action[0] = kPedalRew;
  config.action[1] = kPedalHoldPlay;
  config.action[2] = kPedalFF;
  for (int i = 0; i < kPedalCount; ++i) config.bit[i] = uint16_t(i);
  return config;
}

uint32_t PedalsHeld(const PedalConfig& config, const uint8_t* report, size_t size) {
  uint32_t held = 0;
  for (int i = 0; i < kPedalCount; ++i) {
    size_t byte = config.bit[i] / 8u;
    if (report && byte < size && (report[byte] >> (config.bit[i] % 8u) & 1u)) held |= 1u << i;
  }
  return held;
}

int PedalUpdate(PedalState* state, const PedalConfig& config, uint32_t held, PedalEvent* events, int capacity) {
  int count = 0;
  uint32_t changed = (state->held ^ held) & ((1u << kPedalCount) - 1);
  // Releases first: a foot moving from one pedal to another stops the one before.
  for (int pass = 0; pass < 2; ++pass) {
    uint8_t pressed = pass == 1;
    for (int i = 0; i < kPedalCount; ++i) {
      if (!(changed >> i & 1u) || ((held >> i & 1u) != pressed)) continue;
      uint8_t action = config.action[i];
      if (action == kPedalNothing || action >= kPedalActionCount || count >= capacity) continue;
      events[count++] = PedalEvent{action, pressed};
    }
  }
  state->held = held & ((1u << kPedalCount) - 1);
  return count;
}

int PedalUnplugged(PedalState* state, const PedalConfig& config, PedalEvent* events, int capacity) {
  return PedalUpdate(state, config, 0, events, capacity);
}

uint32_t PedalActionsHeld(const PedalState& state, const PedalConfig& config) {
  uint32_t actions = 0;
  for (int i = 0; i < kPedalCount; ++i)
    if ((state.held >> i & 1u) && config.action[i] < kPedalActionCount) actions |= 1u << config.action[i];
  return actions;
}
