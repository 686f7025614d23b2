// The panel's arithmetic and the slider control on its own: release positions,
// thumb placement, range and position messages, the layout and the time text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/player_panel.h"
#include "ui/slider.h"

namespace {

TEST(SliderArithmetic, ReleasePositionIsUnclampedBeyondTheRightEdge) {
  struct { uint16_t x; uint32_t maximum; int width; uint32_t position; } cases[] = {
      {0, 99, 200, 0},     {100, 99, 200, 49},  {199, 99, 200, 98},   {200, 99, 200, 99},
      {220, 99, 200, 108}, {1, 255, 256, 0},    {256, 255, 256, 255}, {300, 255, 256, 298},
      {65531, 99, 200, 32437},  // a release left of the control: x is read as 16-bit unsigned
      {50, 99, 0, 4950},        // no width yet: never a division by zero
  };
  for (const auto& c : cases)
    EXPECT_EQ(SliderReleasePosition(c.x, c.maximum, c.width), c.position) << c.x << " of " << c.width;
}

TEST(SliderArithmetic, ThumbStaysInsideTheInnerRectangle) {
  struct { int left, width; uint32_t position, maximum; int thumb; } cases[] = {
      {5, 190, 0, 99, 5}, {5, 190, 50, 99, 5 + 95}, {5, 190, 99, 99, 190}, {5, 190, 500, 99, 190},
      {5, 190, 7, 0, 5},  {5, 3, 1, 1, 5},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SliderThumbLeft(c.left, c.width, kSliderThumbWidth, c.position, c.maximum), c.thumb) << c.position;
  RECT inner = SliderInnerRect(RECT{0, 0, 200, 19}, kSliderThumbWidth);
  EXPECT_EQ(inner.left, 5);
  EXPECT_EQ(inner.right, 195);
  EXPECT_EQ(inner.top, 4);
  EXPECT_EQ(inner.bottom, 15);
}

TEST(PanelLayout, ToolbarSeekBarAndAQuarterForTheVolume) {
  PanelLayout layout;
  ComputePanelLayout(600, 25, 1, &layout);
  EXPECT_EQ(layout.toolbar.left, 0);
  EXPECT_EQ(layout.toolbar.top, 0);
  EXPECT_EQ(layout.toolbar.right, 117);
  EXPECT_EQ(layout.toolbar.bottom, 25);
  EXPECT_EQ(layout.volumeBar.left, 600 - 119);  // (600 - 123) / 4
  EXPECT_EQ(layout.volumeBar.right, 600);
  EXPECT_EQ(layout.volumeBar.top, 3);
  EXPECT_EQ(layout.volumeBar.bottom, 22);
  EXPECT_EQ(layout.seekBar.left, 123);
  EXPECT_EQ(layout.seekBar.right, 481);
  ComputePanelLayout(600, 25, 0, &layout);
  EXPECT_TRUE(IsRectEmpty(&layout.toolbar));
  EXPECT_EQ(layout.seekBar.left, 6);
  EXPECT_EQ(layout.volumeBar.left, 600 - 148);
  EXPECT_EQ(layout.seekBar.right, layout.volumeBar.left);
}

TEST(PlayerTime, PositionAndLengthOrNothing) {
  struct { uint32_t position, length; const wchar_t* text; } cases[] = {
      {75, 3725, L"  01:15 (1:02:05)"}, {0, 100, L"  00:00 (01:40)"}, {3600, 7200, L"  1:00:00 (2:00:00)"},
      {42, 0, L""},
  };
  for (const auto& c : cases) {
    wchar_t text[64] = L"stale";
    FormatPlayerTime(c.position, c.length, text, 64);
    EXPECT_STREQ(text, c.text);
  }
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

TEST_F(SliderTest, ReleaseTellsTheParentEvenBeyondTheEnd) {
  SendMessageW(slider, kSliderSetRange, 0, 100);
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(230, 5));
  ASSERT_EQ(gScrolls.size(), 3u);
  EXPECT_EQ(LOWORD(gScrolls[0].first), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(gScrolls[0].first), 49u);
  EXPECT_EQ(HIWORD(gScrolls[1].first), 99u);
  EXPECT_EQ(HIWORD(gScrolls[2].first), 113u) << "beyond the right edge: above the maximum";
  EXPECT_EQ(reinterpret_cast<HWND>(gScrolls[2].second), slider);
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

TEST_F(SliderTest, ADisabledSliderIgnoresTheMouse) {
  SendMessageW(slider, kSliderSetRange, 0, 100);
  EnableWindow(slider, FALSE);
  SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
  EXPECT_TRUE(gScrolls.empty());
  EXPECT_EQ(Position(), 0u);
}

}  // namespace
