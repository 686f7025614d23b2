// The program's resources as Windows loads them: every icon at the sizes the
// menus, toolbar and window ask for, the menu bitmaps, and refusals for
// numbers that have no resource. The test program links the same .rc file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"

namespace {

struct IconCase {
  int number;
  int largest;  // biggest size drawn; smaller sizes are 16 and 32
};

constexpr IconCase kIcons[] = {
    {IDI_APP, 48}, {100, 32}, {102, 32}, {103, 32}, {105, 32}, {106, 32}, {107, 32},
    {108, 32}, {111, 32}, {112, 32}, {114, 32}, {115, 32}, {116, 32}, {142, 32},
    {143, 32}, {144, 32}, {145, 32}, {162, 32}, {182, 32}, {184, 32}, {185, 32},
    {191, 32}, {192, 32}, {193, 32}, {194, 32}, {196, 32}, {1153, 32}, {1154, 32},
    {1155, 32}, {1156, 32}, {1157, 32},
};

struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // top row first
};

// The colour image of a loaded icon as 32-bit pixels; zero size on failure.
IconPixels ReadIcon(HICON icon) {
  IconPixels out;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return out;
  BITMAP bm{};
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows == bm.bmHeight) {
      out.width = bm.bmWidth;
      out.height = bm.bmHeight;
      out.argb = std::move(pixels);
    }
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return out;
}

HICON LoadSized(int number, int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number), IMAGE_ICON, size, size, 0));
}

// The icon group's own directory: LoadImageW would quietly stretch a missing
// size, so the sizes drawn are checked where they are listed.
std::vector<std::pair<int, int>> GroupSizesAndDepths(int number) {
  std::vector<std::pair<int, int>> out;
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (!found) return out;
  DWORD size = SizeofResource(self, found);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(self, found)));
  if (!bytes || size < 6) return out;
  uint32_t count = static_cast<uint32_t>(bytes[4] | (bytes[5] << 8));
  if (6ull + 14ull * count > size) return out;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = bytes + 6 + 14 * static_cast<size_t>(i);
    int side = entry[0] ? entry[0] : 256;
    out.emplace_back(side, entry[6] | (entry[7] << 8));
  }
  return out;
}

TEST(Icons, EveryNumberListsAndLoadsEachDrawnSizeWithRealTransparency) {
  for (const IconCase& c : kIcons) {
    std::vector<std::pair<int, int>> listed = {{16, 32}, {32, 32}};
    if (c.largest == 48) listed.push_back({48, 32});
    EXPECT_EQ(GroupSizesAndDepths(c.number), listed) << "icon " << c.number;
    for (int size : {16, 32, 48}) {
      if (size > c.largest) continue;
      SCOPED_TRACE(testing::Message() << "icon " << c.number << " at " << size);
      HICON icon = LoadSized(c.number, size);
      ASSERT_NE(icon, nullptr);
      IconPixels px = ReadIcon(icon);
      DestroyIcon(icon);
      ASSERT_EQ(px.width, size);
      ASSERT_EQ(px.height, size);
      size_t clear = 0, opaque = 0;
      for (uint32_t p : px.argb) {
        uint32_t alpha = p >> 24;
        clear += alpha == 0;
        opaque += alpha == 255;
      }
      // A drawn shape on a transparent ground: both kinds of pixel, neither all.
      EXPECT_GT(clear, px.argb.size() / 20);
      EXPECT_GT(opaque, px.argb.size() / 16);
    }
  }
}

TEST(Icons, NumbersWithoutAnIconAreRefused) {
  for (int number : {0, 2, 101, 117, 183, 1152, 1158, 65535}) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(GroupSizesAndDepths(number).empty());
    HICON icon = LoadSized(number, 16);
    EXPECT_EQ(icon, nullptr);
    if (icon) DestroyIcon(icon);
  }
}

TEST(MenuBitmaps, CheckAndBulletAreElevenPixelsBlackOnWhite) {
  for (int number : {IDB_MENU_CHECK, IDB_MENU_BULLET}) {
    SCOPED_TRACE(number);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmWidth, 11);
    EXPECT_EQ(dib.dsBm.bmHeight, 11);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    size_t black = 0, white = 0, other = 0;
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 11; ++x) {
        const uint8_t* p = bits + static_cast<size_t>(y) * static_cast<size_t>(dib.dsBm.bmWidthBytes) + static_cast<size_t>(x) * 3;
        bool isBlack = p[0] == 0 && p[1] == 0 && p[2] == 0;
        bool isWhite = p[0] == 255 && p[1] == 255 && p[2] == 255;
        black += isBlack;
        white += isWhite;
        other += !isBlack && !isWhite;
      }
    EXPECT_EQ(other, 0u);  // the mask drawing needs pure black and white
    EXPECT_GE(black, 12u);
    EXPECT_GE(white, 60u);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(7), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST(VersionInfo, NamesTheProductInBothLanguages) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, (26u << 16) | 10u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\ProductName", L"\\StringFileInfo\\040704B0\\ProductName"}) {
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, L"Tapewright");
  }
  wchar_t* missing = nullptr;
  UINT length = 0;
  EXPECT_FALSE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\ProductName", reinterpret_cast<void**>(&missing), &length));
}

}  // namespace
