// The foot pedal on the player panel: Raw Input from HID devices, through a
// replaceable source (tests feed reports; Wine has no HID pedal), turned into
// the panel's own commands: Rew and FF repeated while held, HoldPlay pressed
// and released.
#pragma once
#include <windows.h>

#include <cstdint>

#include "player/pedal.h"

struct PedalDevice {
  wchar_t name[128];  // the system's device path, or empty
  uint16_t vendor;
  uint16_t product;
};

struct PedalInputSource {
  // Asks for the HID reports of pedal-like devices at window; background:
  // also while another program is active. Non-zero on success.
  int (*Register)(HWND window, int background);
  void (*Unregister)();
  // The device and report of a WM_INPUT. Non-zero for a HID report; size: capacity in, bytes out.
  int (*Read)(LPARAM input, HANDLE* device, uint8_t* report, uint32_t* size);
  // Vendor, product and name of a device. Non-zero when known.
  int (*Describe)(HANDLE device, PedalDevice* out);
};
extern PedalInputSource gPedalInput;  // Raw Input unless a test replaces it

constexpr UINT_PTR kPedalRepeatTimer = 21;
constexpr UINT kPedalRepeatMs = 500;

// Reads section Pedal and registers the panel for the pedal's reports.
void PedalInputStart(HWND panel);
void PedalInputStop(HWND panel);
// WM_INPUT, WM_INPUT_DEVICE_CHANGE and the repeat timer of the panel.
void PedalInputOnInput(HWND panel, LPARAM input);
void PedalInputOnDeviceChange(HWND panel, WPARAM change, LPARAM device);
void PedalInputOnTimer(HWND panel);
// The last pedal heard from; zero when none.
int PedalInputFound(PedalDevice* out);
