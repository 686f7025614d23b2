// The slider control on its own: where a release lands, the range and
// position messages, and what it tells its parent.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/slider.h"

namespace {

TEST(SliderArithmetic, LeftOfTheBarIsZeroBeyondItsRightEndMore) {
  struct { int x; uint32_t maximum; int width; uint32_t position; } cases[] = {
      {0, 99, 200, 0},     {100, 99, 200, 49},  {199, 99, 200, 98},   {200, 99, 200, 99},
      {220, 99, 200, 108}, {1, 255, 256, 0},    {256, 255, 256, 255}, {300, 255, 256, 298},
      {-5, 255, 256, 0},  // a release left of the control
      {50, 99, 0, 4950},   // no width yet: never a division by zero
  };
  for (const auto& c : cases)
    EXPECT_EQ(SliderReleasePosition(c.x, c.maximum, c.width), c.position) << c.x << " of " << c.width;
}

// A parent that records the sliders' notifications.
std::vector<std::pair<WPARAM, LPARAM>> gScrolls;
LRESULT CALLBACK RecordingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL) gScrolls.push_back({wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

struct SliderTest : testing::Test {
  HWND parent = nullptr;
  HWND slider = nullptr;
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingParent;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TpwrSliderParent";
    RegisterClassW(&windowClass);
    parent = CreateWindowExW(0, L"TpwrSliderParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    slider = CreateSlider(parent, nullptr, 5, GetModuleHandleW(nullptr));
    MoveWindow(slider, 0, 0, 200, 19, FALSE);
    gScrolls.clear();
  }
  void TearDown() override { DestroyWindow(parent); }
  uint32_t Position() { return static_cast<uint32_t>(SendMessageW(slider, kSliderGetPosition, 0, 0)); }
};

TEST_F(SliderTest, RangeAndPositionMessages) {
  ASSERT_NE(slider, nullptr);
  SendMessageW(slider, kSliderSetRange, 0, 100);
  SendMessageW(slider, kSliderSetPosition, 12345, 150);
  EXPECT_EQ(Position(), 99u) << "range 100 ends at 99; wParam is ignored";
  SendMessageW(slider, kSliderSetPosition, 0, 40);
  EXPECT_EQ(Position(), 40u);
  SendMessageW(slider, kSliderSetRange, 0, 0);
  EXPECT_EQ(Position(), 0u) << "range 0 keeps maximum 0";
  SendMessageW(slider, kSliderSetRange, 0, 256);
  SendMessageW(slider, kSliderSetPosition, 0, 300);
  EXPECT_EQ(Position(), 255u);
  EXPECT_TRUE(gScrolls.empty()) << "setting a position tells nobody";
}

// Where a release inside the bar lands is the arithmetic test's.
TEST_F(SliderTest, ReleaseTellsTheParentEvenBeyondTheEnd) {
  SendMessageW(slider, kSliderSetRange, 0, 100);
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(230, 5));
  ASSERT_EQ(gScrolls.size(), 1u);
  EXPECT_EQ(LOWORD(gScrolls[0].first), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(gScrolls[0].first), 113u) << "beyond the right edge: above the maximum";
  EXPECT_EQ(reinterpret_cast<HWND>(gScrolls[0].second), slider);
  EXPECT_EQ(Position(), 113u);
}

TEST_F(SliderTest, DraggingSendsNothingUntilTheRelease) {
  SendMessageW(slider, kSliderSetRange, 0, 100);
  SendMessageW(slider, WM_PAINT, 0, 0);  // places the thumb at the left edge of the inner rectangle
  UpdateWindow(slider);
  SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 9));
  SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 9));
  EXPECT_EQ(Position(), 49u) << "dragging follows the cursor";
  EXPECT_TRUE(gScrolls.empty());
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(150, 9));
  ASSERT_EQ(gScrolls.size(), 1u);
  EXPECT_EQ(HIWORD(gScrolls[0].first), 74u);
}

// A release left of the volume bar is silence, not full volume.
TEST_F(SliderTest, ReleaseLeftOfTheBarGivesZero) {
  SendMessageW(slider, kSliderSetRange, 0, 256);
  SendMessageW(slider, kSliderSetPosition, 0, 200);
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-7), 5));
  ASSERT_EQ(gScrolls.size(), 1u);
  EXPECT_EQ(HIWORD(gScrolls[0].first), 0u);
}

TEST_F(SliderTest, ADisabledSliderIgnoresTheMouse) {
  SendMessageW(slider, kSliderSetRange, 0, 100);
  EnableWindow(slider, FALSE);
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
  EXPECT_TRUE(gScrolls.empty());
  EXPECT_EQ(Position(), 0u);
}

}  // namespace
