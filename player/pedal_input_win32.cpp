// The foot pedal through Raw Input, and what its pedals make the panel do.
#include "player/pedal_input.h"

#include <cwchar>

#include "commands/commands.h"
#include "settings/settings_store.h"

namespace {

constexpr size_t kInputBytes = 1024;
constexpr size_t kReportBytes = 64;

struct PedalRun {
  PedalConfig config;
  PedalState state;
  uint32_t vendor;   // 0: any
  uint32_t product;  // 0: any of the vendor's
  HANDLE device;     // the pedal whose pedals are held
  PedalDevice found;
  int haveFound;
  int registered;
};
PedalRun gPedal;

// Consumer controls, joysticks, game pads and vendor pages: where the pedals
// on the market report their buttons.
int RegisterRawInput(HWND window, int background) {
  DWORD flags = RIDEV_DEVNOTIFY | (background ? RIDEV_INPUTSINK : 0);
  RAWINPUTDEVICE devices[] = {
      {0x0C, 0, RIDEV_PAGEONLY | flags, window},
      {0xFF00, 0, RIDEV_PAGEONLY | flags, window},
      {0x01, 0x04, flags, window},
      {0x01, 0x05, flags, window},
  };
  return RegisterRawInputDevices(devices, sizeof devices / sizeof devices[0], sizeof devices[0]) != FALSE;
}

void UnregisterRawInput() {
  RAWINPUTDEVICE devices[] = {
      {0x0C, 0, RIDEV_PAGEONLY | RIDEV_REMOVE, nullptr},
      {0xFF00, 0, RIDEV_PAGEONLY | RIDEV_REMOVE, nullptr},
      {0x01, 0x04, RIDEV_REMOVE, nullptr},
      {0x01, 0x05, RIDEV_REMOVE, nullptr},
  };
  RegisterRawInputDevices(devices, sizeof devices / sizeof devices[0], sizeof devices[0]);
}

// The newest report of a HID input, bounded by what the input really holds.
int ReadRawInput(LPARAM input, HANDLE* device, uint8_t* report, uint32_t* size) {
  alignas(8) uint8_t buffer[kInputBytes];
  UINT bytes = sizeof buffer;
  UINT got = GetRawInputData(reinterpret_cast<HRAWINPUT>(input), RID_INPUT, buffer, &bytes, sizeof(RAWINPUTHEADER));
  if (got == UINT(-1) || got < sizeof(RAWINPUTHEADER) + 2 * sizeof(DWORD)) return 0;
  const RAWINPUT* raw = reinterpret_cast<const RAWINPUT*>(buffer);
  if (raw->header.dwType != RIM_TYPEHID) return 0;
  uint64_t each = raw->data.hid.dwSizeHid;
  uint64_t count = raw->data.hid.dwCount;
  uint64_t offset = reinterpret_cast<const uint8_t*>(raw->data.hid.bRawData) - buffer;
  if (!each || !count || offset + each * count > got) return 0;
  uint64_t take = each < *size ? each : *size;
  memcpy(report, raw->data.hid.bRawData + (count - 1) * each, size_t(take));
  *size = uint32_t(take);
  *device = raw->header.hDevice;
  return 1;
}

int DescribeRawDevice(HANDLE device, PedalDevice* out) {
  RID_DEVICE_INFO info{};
  info.cbSize = sizeof info;
  UINT size = sizeof info;
  if (GetRawInputDeviceInfoW(device, RIDI_DEVICEINFO, &info, &size) == UINT(-1) || info.dwType != RIM_TYPEHID)
    return 0;
  out->vendor = uint16_t(info.hid.dwVendorId);
  out->product = uint16_t(info.hid.dwProductId);
  UINT chars = sizeof out->name / sizeof out->name[0];
  if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, out->name, &chars) == UINT(-1)) out->name[0] = 0;
  out->name[sizeof out->name / sizeof out->name[0] - 1] = 0;
  return 1;
}

int IsPedal(const PedalDevice& device) {
  if (gPedal.vendor && device.vendor != gPedal.vendor) return 0;
  return !gPedal.product || device.product == gPedal.product;
}

void Post(HWND panel, uint16_t command) { PostMessageW(panel, WM_COMMAND, command, 0); }

void Dispatch(HWND panel, const PedalEvent* events, int count) {
  for (int i = 0; i < count; ++i) {
    switch (events[i].action) {
      case kPedalRew:
        if (events[i].pressed) Post(panel, kCmdRew);
        break;
      case kPedalFF:
        if (events[i].pressed) Post(panel, kCmdFF);
        break;
      case kPedalHoldPlay: Post(panel, events[i].pressed ? kCmdHoldPlay : kCmdHoldPlayRelease); break;
      default: break;
    }
  }
  uint32_t repeating = PedalActionsHeld(gPedal.state, gPedal.config) & (1u << kPedalRew | 1u << kPedalFF);
  if (repeating)
    SetTimer(panel, kPedalRepeatTimer, kPedalRepeatMs, nullptr);
  else
    KillTimer(panel, kPedalRepeatTimer);
}

uint8_t ActionSetting(const SettingsKey& key) {
  uint32_t action = ReadSetting(Settings(), key);
  return action < kPedalActionCount ? uint8_t(action) : uint8_t(kPedalNothing);
}

uint16_t BitSetting(const SettingsKey& key) {
  uint32_t bit = ReadSetting(Settings(), key);
  return bit < kReportBytes * 8 ? uint16_t(bit) : uint16_t(0);
}

}  // namespace

PedalInputSource gPedalInput = {RegisterRawInput, UnregisterRawInput, ReadRawInput, DescribeRawDevice};

void PedalInputStart(HWND panel) {
  PedalRun before = gPedal;
  gPedal = PedalRun{};
  gPedal.found = before.found;  // still the pedal the user saw
  gPedal.haveFound = before.haveFound;
  gPedal.config.action[0] = ActionSetting(kSettingPedalLeft);
  gPedal.config.action[1] = ActionSetting(kSettingPedalMiddle);
  gPedal.config.action[2] = ActionSetting(kSettingPedalRight);
  gPedal.config.bit[0] = BitSetting(kSettingPedalLeftBit);
  gPedal.config.bit[1] = BitSetting(kSettingPedalMiddleBit);
  gPedal.config.bit[2] = BitSetting(kSettingPedalRightBit);
  gPedal.vendor = ReadSetting(Settings(), kSettingPedalVendor);
  gPedal.product = ReadSetting(Settings(), kSettingPedalProduct);
  if (gPedalInput.Register)
    gPedal.registered = gPedalInput.Register(panel, ReadSetting(Settings(), kSettingPedalBackground) != 0);
}

void PedalInputStop(HWND panel) {
  KillTimer(panel, kPedalRepeatTimer);
  if (gPedal.registered && gPedalInput.Unregister) gPedalInput.Unregister();
  gPedal.registered = 0;
}

void PedalInputOnInput(HWND panel, LPARAM input) {
  HANDLE device = nullptr;
  uint8_t report[kReportBytes];
  uint32_t size = sizeof report;
  if (!gPedalInput.Read || !gPedalInput.Read(input, &device, report, &size)) return;
  if (device != gPedal.device) {
    // Another device: find out whether it is a pedal before taking its buttons.
    PedalDevice described{};
    if (!gPedalInput.Describe || !gPedalInput.Describe(device, &described) || !IsPedal(described)) return;
    if (gPedal.state.held) {
      PedalEvent events[2 * kPedalCount];
      Dispatch(panel, events, PedalUnplugged(&gPedal.state, gPedal.config, events, 2 * kPedalCount));
    }
    gPedal.device = device;
    gPedal.found = described;
    gPedal.haveFound = 1;
  }
  PedalEvent events[2 * kPedalCount];
  uint32_t held = PedalsHeld(gPedal.config, report, size);
  Dispatch(panel, events, PedalUpdate(&gPedal.state, gPedal.config, held, events, 2 * kPedalCount));
}

void PedalInputOnDeviceChange(HWND panel, WPARAM change, LPARAM device) {
  HANDLE handle = reinterpret_cast<HANDLE>(device);
  if (change == GIDC_REMOVAL) {
    if (handle != gPedal.device) return;
    // Unplugged with a foot down: nothing may go on playing or winding for ever.
    PedalEvent events[2 * kPedalCount];
    Dispatch(panel, events, PedalUnplugged(&gPedal.state, gPedal.config, events, 2 * kPedalCount));
    gPedal.device = nullptr;
    return;
  }
  PedalDevice described{};
  if (change == GIDC_ARRIVAL && gPedalInput.Describe && gPedalInput.Describe(handle, &described) &&
      IsPedal(described)) {
    gPedal.found = described;
    gPedal.haveFound = 1;
  }
}

void PedalInputOnTimer(HWND panel) {
  uint32_t held = PedalActionsHeld(gPedal.state, gPedal.config);
  if (held & 1u << kPedalRew) Post(panel, kCmdRew);
  if (held & 1u << kPedalFF) Post(panel, kCmdFF);
  if (!(held & (1u << kPedalRew | 1u << kPedalFF))) KillTimer(panel, kPedalRepeatTimer);
}

int PedalInputFound(PedalDevice* out) {
  if (!gPedal.haveFound) return 0;
  *out = gPedal.found;
  return 1;
}
