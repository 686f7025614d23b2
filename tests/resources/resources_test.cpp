// The program's resources as Windows loads them: every command icon at the
// sizes the menus and the panel ask for, drawn on a transparent ground, and the
// menu check-mark bitmaps. The test program links the same .rc file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "commands/commands.h"
#include "resources/resource_ids.h"

namespace {

// The alpha values of a loaded icon's colour image; empty on failure.
std::vector<uint8_t> Alphas(HICON icon, int size) {
  std::vector<uint8_t> alphas;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return alphas;
  BITMAPINFO bitmap{};
  bitmap.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * static_cast<size_t>(size));
  HDC dc = GetDC(nullptr);
  if (info.hbmColor && GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(), &bitmap, DIB_RGB_COLORS) == size)
    for (uint32_t pixel : pixels) alphas.push_back(static_cast<uint8_t>(pixel >> 24));
  ReleaseDC(nullptr, dc);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return alphas;
}

// The icons of the commands on the menus and the panel, and the program's own.
TEST(Icons, LoadAtEverySizeAsShapesOnATransparentGround) {
  std::vector<int> numbers = {IDI_APP};
  for (uint16_t command : {kCmdExit, kCmdFileNew, kCmdFileOpen, kCmdFileSave, kCmdFileSaveAs, kCmdFilePrint,
                           kCmdSendMail, kCmdUndo, kCmdCut, kCmdCopy, kCmdPaste, kCmdClear, kCmdFind, kCmdFindNext,
                           kCmdReplace, kCmdGoTo, kCmdFont, kCmdConfig, kCmdLanguage, kCmdHelpContents, kCmdHelpKeys,
                           kCmdGoOnline, kCmdChkUpd, kCmdAbout, kCmdRew, kCmdPlay, kCmdPause, kCmdStop, kCmdFF,
                           kCmdAmpFileOpen})
    numbers.push_back(command);
  for (int number : numbers) {
    for (int size : {16, 32}) {
      SCOPED_TRACE(testing::Message() << "icon " << number << " at " << size);
      HICON icon = static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number), IMAGE_ICON, size, size, 0));
      std::vector<uint8_t> alphas = Alphas(icon, size);
      if (icon) DestroyIcon(icon);
      ASSERT_EQ(alphas.size(), static_cast<size_t>(size * size));
      size_t clear = 0, opaque = 0;
      for (uint8_t alpha : alphas) {
        clear += alpha == 0;
        opaque += alpha == 255;
      }
      EXPECT_GT(clear, alphas.size() / 20);
      EXPECT_GT(opaque, alphas.size() / 16);
    }
  }
}

TEST(MenuBitmaps, CheckAndBulletAreElevenPixels) {
  for (int number : {IDB_MENU_CHECK, IDB_MENU_BULLET}) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr) << number;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 11);
    EXPECT_EQ(info.bmHeight, 11);
    DeleteObject(bitmap);
  }
}

}  // namespace
