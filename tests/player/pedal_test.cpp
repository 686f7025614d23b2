// The foot pedal: which pedals a report holds, the commands a change of pedals
// gives, and the panel's side of Raw Input through a source of the test's own
// (Wine has no HID pedal).
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "commands/commands.h"
#include "player/pedal.h"
#include "player/pedal_input.h"

namespace {

TEST(Pedal, ReportsGiveTheHeldPedals) {
  PedalConfig standard = PedalDefaultConfig();
  PedalConfig assigned = standard;  // a device whose buttons sit in its second byte
  assigned.bit[0] = 8;
  assigned.bit[1] = 9;
  assigned.bit[2] = 15;
  struct {
    const char* name;
    const PedalConfig* config;
    std::vector<uint8_t> report;
    uint32_t held;
  } cases[] = {
      {"none", &standard, {0x00}, 0},
      {"left", &standard, {0x01}, 1},
      {"middle", &standard, {0x02}, 2},
      {"right and left", &standard, {0x05}, 5},
      {"other bits are not pedals", &standard, {0xF8, 0xFF}, 0},
      {"empty report", &standard, {}, 0},
      {"assigned bits", &assigned, {0x07, 0x81}, 5},
      {"assigned bits beyond a short report", &assigned, {0xFF}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PedalsHeld(*c.config, c.report.data(), c.report.size()), c.held) << c.name;
}

TEST(Pedal, ChangesGiveReleasesThenPresses) {
  PedalConfig config = PedalDefaultConfig();
  PedalConfig leftDoesNothing = config;
  leftDoesNothing.action[0] = kPedalNothing;
  using Events = std::vector<std::pair<int, int>>;  // action, pressed
  struct {
    const char* name;
    const PedalConfig* config;
    std::vector<uint32_t> steps;  // held pedals, one report each
    Events events;
  } cases[] = {
      {"repeated reports change nothing", &config, {2, 2, 2}, {{kPedalHoldPlay, 1}}},
      {"foot from left to middle", &config, {1, 2}, {{kPedalRew, 1}, {kPedalRew, 0}, {kPedalHoldPlay, 1}}},
      {"a pedal assigned nothing", &leftDoesNothing, {1, 3, 0}, {{kPedalHoldPlay, 1}, {kPedalHoldPlay, 0}}},
  };
  for (const auto& c : cases) {
    PedalState state{};
    Events got;
    PedalEvent events[2 * kPedalCount];
    for (uint32_t held : c.steps) {
      int count = PedalUpdate(&state, *c.config, held, events, 2 * kPedalCount);
      for (int i = 0; i < count; ++i) got.emplace_back(events[i].action, events[i].pressed);
    }
    EXPECT_EQ(got, c.events) << c.name;
  }
}

// The test's raw input: one report at a time from one of two devices.
struct FakeInput {
  HANDLE device;
  std::vector<uint8_t> report;
  int registered;
} gFake;

int FakeRegister(HWND, int) { return ++gFake.registered; }
void FakeUnregister() { --gFake.registered; }
int FakeRead(LPARAM, HANDLE* device, uint8_t* report, uint32_t* size) {
  if (gFake.report.size() > *size) return 0;
  *device = gFake.device;
  memcpy(report, gFake.report.data(), gFake.report.size());
  *size = uint32_t(gFake.report.size());
  return 1;
}
HANDLE const kPedalDevice = reinterpret_cast<HANDLE>(0x101);
HANDLE const kGamePad = reinterpret_cast<HANDLE>(0x202);
int FakeDescribe(HANDLE device, PedalDevice* out) {
  *out = PedalDevice{};
  out->vendor = device == kPedalDevice ? 0x05F3 : 0x045E;
  out->product = device == kPedalDevice ? 0x00FF : 0x0001;
  wcscpy(out->name, device == kPedalDevice ? L"pedal" : L"pad");
  return 1;
}

std::vector<uint16_t> gCommands;

LRESULT CALLBACK CommandProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) gCommands.push_back(LOWORD(wParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<uint16_t> TakeCommands() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  std::vector<uint16_t> taken;
  taken.swap(gCommands);
  return taken;
}

TEST(PedalInput, ThePedalsBecomeThePanelsCommands) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = CommandProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TpwrPedalTest";
  RegisterClassW(&windowClass);
  HWND panel = CreateWindowExW(0, L"TpwrPedalTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(panel, nullptr);
  PedalInputSource saved = gPedalInput;
  gPedalInput = PedalInputSource{FakeRegister, FakeUnregister, FakeRead, FakeDescribe};
  gFake = FakeInput{};
  PedalInputStart(panel);
  EXPECT_EQ(gFake.registered, 1);

  struct {
    const char* name;
    HANDLE device;
    std::vector<uint8_t> report;
    bool unplug;
    std::vector<uint16_t> commands;
  } steps[] = {
      {"a game pad's buttons are no pedals", kGamePad, {0x02}, false, {}},
      {"middle down", kPedalDevice, {0x02}, false, {kCmdHoldPlay}},
      {"middle held, nothing again", kPedalDevice, {0x02}, false, {}},
      {"middle up", kPedalDevice, {0x00}, false, {kCmdHoldPlayRelease}},
      {"left down steps back", kPedalDevice, {0x01}, false, {kCmdRew}},
      {"left to right", kPedalDevice, {0x04}, false, {kCmdFF}},
      {"middle down again", kPedalDevice, {0x02}, false, {kCmdHoldPlay}},
      {"unplugged mid-hold: the play ends", kPedalDevice, {}, true, {kCmdHoldPlayRelease}},
  };
  for (const auto& step : steps) {
    gFake.device = step.device;
    gFake.report = step.report;
    if (step.unplug)
      PedalInputOnDeviceChange(panel, GIDC_REMOVAL, reinterpret_cast<LPARAM>(step.device));
    else
      PedalInputOnInput(panel, 0);
    EXPECT_EQ(TakeCommands(), step.commands) << step.name;
  }
  PedalDevice found{};
  ASSERT_TRUE(PedalInputFound(&found));
  EXPECT_EQ(found.vendor, 0x05F3);
  EXPECT_EQ(found.product, 0x00FF);

  // Held, the left pedal steps back again with each repeat until it comes up.
  gFake.device = kPedalDevice;
  gFake.report = {0x01};
  PedalInputOnInput(panel, 0);
  PedalInputOnTimer(panel);
  PedalInputOnTimer(panel);
  gFake.report = {0x00};
  PedalInputOnInput(panel, 0);
  PedalInputOnTimer(panel);
  EXPECT_EQ(TakeCommands(), (std::vector<uint16_t>{kCmdRew, kCmdRew, kCmdRew}));

  PedalInputStop(panel);
  EXPECT_EQ(gFake.registered, 0);
  gPedalInput = saved;
  DestroyWindow(panel);
}

}  // namespace
