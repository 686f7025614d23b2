// Foot pedals that present themselves as HID devices: which pedal a report
// holds down, and the commands that a change of pedals gives. Free of
// windows.h; pedal_input_win32.cpp feeds it from Raw Input.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kPedalCount = 3;  // left, middle, right

// What a pedal does while held.
enum PedalAction : uint8_t {
  kPedalNothing = 0,
  kPedalRew = 1,       // steps back, again and again while held
  kPedalHoldPlay = 2,  // plays while held, pauses at the release
  kPedalFF = 3,        // steps forward, again and again while held
  kPedalActionCount
};

struct PedalConfig {
  uint8_t action[kPedalCount];  // a PedalAction per pedal
  uint16_t bit[kPedalCount];    // the pedal's bit in the report: byte bit / 8, bit bit % 8
};

// Left rewinds, middle plays, right fast-forwards; bits 0, 1 and 2 of the
// first byte, as the common three-pedal devices send them.
PedalConfig PedalDefaultConfig();

// The pedals held in a report, as bits 0 (left) to 2 (right). A pedal whose
// bit lies beyond the report counts as not held.
uint32_t PedalsHeld(const PedalConfig& config, const uint8_t* report, size_t size);

// What the player is told: an action pressed or released.
struct PedalEvent {
  uint8_t action;
  uint8_t pressed;  // 1 down, 0 up
};

struct PedalState {
  uint32_t held;  // bits of the pedals down, as last reported
};

// The events for going from the held pedals to held (at most 2 x kPedalCount).
// Returns their number.
int PedalUpdate(PedalState* state, const PedalConfig& config, uint32_t held, PedalEvent* events, int capacity);
// The device went away: every pedal still down is released.
int PedalUnplugged(PedalState* state, const PedalConfig& config, PedalEvent* events, int capacity);
// The actions still held, as bits 1 << action: the ones to repeat.
uint32_t PedalActionsHeld(const PedalState& state, const PedalConfig& config);
