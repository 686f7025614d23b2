// Composite values (placement, colours, custom colours, font) and two threads
// sharing one store. Stores without a path keep the values in memory.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "temp_tree.h"

namespace {

std::string Stored(SettingsStore* store, const char* key) {
  char text[200];
  ReadString(store, "TPWR", key, nullptr, text, sizeof text);
  return text;
}

TEST(SettingsPlacement, StoredPlacementsAndRejections) {
  struct { const char* value; int accepted; SettingsPlacement expected; } cases[] = {
      {"10,20,600,500,1", 1, {10, 20, 600, 500, 1}}, {"-8,-8,800,600,3", 1, {-8, -8, 800, 600, 3}},
      {"10,20,600,500,2", 1, {10, 20, 600, 500, 0}}, {"10,20,50,50,1", 1, {10, 20, 50, 50, 1}},
      {"10,20,49,500,1", 0, {}},      {"10,20,600,49,1", 0, {}},      {"10,20,600,500", 0, {}},
      {"10,20,600,500,1,9", 0, {}},   {"10,20,1000000,500,1", 0, {}}, {"10,20,600,1000000,1", 0, {}},
  };
  for (const auto& c : cases) {
    SettingsStore store(kSettingsFixedLocation);
    WriteString(&store, "TPWR", "Pos", c.value);
    SettingsPlacement placement{1, 1, 1, 1, 1};
    // Defaults below 1 are used unscaled, so the default is known exactly.
    EXPECT_EQ(ReadWindowPos(&store, "TPWR", &placement, 0, -1), c.accepted) << c.value;
    SettingsPlacement expected =
        c.accepted ? c.expected : SettingsPlacement{kDefaultWindowPosition, kDefaultWindowPosition, 0, -1, 0};
    EXPECT_EQ(memcmp(&placement, &expected, sizeof placement), 0)
        << c.value << ": " << placement.left << "," << placement.top << "," << placement.width << ","
        << placement.height << "," << placement.state;
  }
}

TEST(SettingsPlacement, WriterFormatAndFlagFour) {
  SettingsStore store(kSettingsFixedLocation);
  SettingsPlacement placement{-4, 30, 640, 480, 3};
  EXPECT_TRUE(WriteWindowPlacement(&store, "TPWR", &placement));
  EXPECT_EQ(Stored(&store, "Pos"), "-4,30,640,480,3");
  store.flags |= kSettingsNoWindowPos;
  SettingsPlacement other{1, 2, 300, 300, 1};
  EXPECT_FALSE(WriteWindowPlacement(&store, "TPWR", &other));
  EXPECT_EQ(Stored(&store, "Pos"), "-4,30,640,480,3");
}

TEST(SettingsColors, PairRulesAndDefaults) {
  // Rejected pairs give the system's colours and "use system colours".
  struct { const char* value; int accepted; COLORREF text, background; uint32_t useSystem; } cases[] = {
      {"#0,ffffff", 1, 0x000000, 0xFFFFFF, 0},       {"#0,ffffff,1", 1, 0x000000, 0xFFFFFF, 1},
      {"#0,5f", 1, 0x000000, 0x00005F, 0},           // contrast exactly 95
      {"#6f1010,101010", 1, 0x6F1010, 0x101010, 0},  // 95 in blue alone
      {"#0,5e", 0, 0, 0, 1},                         // contrast 94
      {"#2f2f2f,4f4e4e", 0, 0, 0, 1},                // 32 + 31 + 31 = 94 over three channels
      {"#ffffff", 0, 0, 0, 1},                       {"", 0, 0, 0, 1},
  };
  COLORREF system[2] = {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)};
  for (const auto& c : cases) {
    SettingsStore store(kSettingsFixedLocation);
    WriteString(&store, "TPWR", "Color", c.value);
    COLORREF colors[2] = {7, 7};
    uint32_t useSystem = 9;
    EXPECT_EQ(ReadColors(&store, "TPWR", "Color", colors, &useSystem), c.accepted) << c.value;
    EXPECT_EQ(colors[0], c.accepted ? c.text : system[0]) << c.value;
    EXPECT_EQ(colors[1], c.accepted ? c.background : system[1]) << c.value;
    EXPECT_EQ(useSystem, c.useSystem) << c.value;
  }
}

TEST(SettingsColors, WritersAndCustomColors) {
  SettingsStore store(kSettingsFixedLocation);
  const COLORREF pair[2] = {0x0000FF, 0xFFFFFF};
  uint32_t flag = 1;
  EXPECT_TRUE(WriteColors(&store, "TPWR", "Color", pair, nullptr));
  EXPECT_EQ(Stored(&store, "Color"), "#ff,ffffff");
  EXPECT_TRUE(WriteColors(&store, "TPWR", "Color", pair, &flag));
  EXPECT_EQ(Stored(&store, "Color"), "#ff,ffffff,1");

  COLORREF colors[kCustomColorCount];
  EXPECT_EQ(ReadCustomColors(&store, "TPWR", colors), 0);
  for (COLORREF color : colors) EXPECT_EQ(color, kCustomColorWhite);
  colors[0] = 0x102030;
  colors[2] = 0;
  EXPECT_TRUE(WriteCustomColors(&store, "TPWR", colors));
  EXPECT_EQ(Stored(&store, "CC"), "#102030,ffffff,0");
  COLORREF back[kCustomColorCount];
  EXPECT_EQ(ReadCustomColors(&store, "TPWR", back), 3);
  EXPECT_EQ(memcmp(back, colors, sizeof colors), 0);
  for (COLORREF& color : colors) color = kCustomColorWhite;
  EXPECT_TRUE(WriteCustomColors(&store, "TPWR", colors));
  char text[8];
  EXPECT_EQ(ReadString(&store, "TPWR", "CC", nullptr, text, sizeof text), 1) << "all white deletes the key";
}

LOGFONTW SampleFont(const wchar_t* face) {
  LOGFONTW font{-17, 3, 900, 900, FW_BOLD, 1, 1, 0, RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, {}};
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

TEST(SettingsFont, DescriptionRoundTripsAndFallbacks) {
  // A face outside the code page and with a comma, and no face at all.
  for (const wchar_t* face : {L"\x0416\x0443\x0440\x043D\x0430\x043B, \x043C\x043E\x043D\x043E", L""}) {
    SettingsStore store(kSettingsFixedLocation);
    LOGFONTW font = SampleFont(face);
    EXPECT_TRUE(WriteFontDescription(&store, "TPWR", "Font", &font));
    LOGFONTW back;
    EXPECT_TRUE(ReadFont(&store, "TPWR", "Font", &back));
    EXPECT_EQ(memcmp(&back, &font, sizeof font), 0);
  }
  SettingsStore store(kSettingsFixedLocation);
  LOGFONTW font = SampleFont(L"Arial"), zero{};
  WriteFontDescription(&store, "TPWR", "Font", &font);
  EXPECT_EQ(Stored(&store, "Font"), "-17,3,900,900,700,1,1,0,204,4,0,5,49,Arial");
  // On another desktop the stored font is not used; the description is zeroed.
  store.flags |= kSettingsDesktopChanged;
  EXPECT_FALSE(ReadFont(&store, "TPWR", "Font", &font));
  EXPECT_EQ(memcmp(&font, &zero, sizeof font), 0);
  EXPECT_TRUE(WriteFont(&store, "TPWR", "Font", nullptr));
  EXPECT_EQ(Stored(&store, "Font"), "") << "no handle deletes the key";
}

// Writes (unless only checking) and reads back 300 keys of one section; counts the losses.
void WriteAndReadMany(SettingsStore* store, const char* section, int* lost, bool write) {
  char key[16], value[16], back[16];
  for (int i = 0; i < 300; i++) {
    snprintf(key, sizeof key, "K%d", i);
    snprintf(value, sizeof value, "%s%d", section, i * 7);
    if (write && !WriteString(store, section, key, value)) ++*lost;
    if (ReadString(store, section, key, nullptr, back, sizeof back) != 0 || strcmp(back, value) != 0) ++*lost;
  }
}

TEST(SettingsConcurrency, TwoThreadsLoseNothing) {
  TempTree tree;
  std::wstring path = tree.Path(L"threads.INI");
  int lost[2] = {0, 0};
  {
    SettingsStore store(kSettingsFixedLocation, path.c_str());
    std::thread a(WriteAndReadMany, &store, "A", &lost[0], true);
    std::thread b(WriteAndReadMany, &store, "B", &lost[1], true);
    a.join();
    b.join();
  }
  SettingsStore again(kSettingsFixedLocation, path.c_str());
  WriteAndReadMany(&again, "A", &lost[0], false);
  WriteAndReadMany(&again, "B", &lost[1], false);
  EXPECT_EQ(lost[0] + lost[1], 0) << "in memory or in the saved file";
}

TEST(SettingsConcurrency, BusyStoreGivesUpInsteadOfBlocking) {
  SettingsStore store(kSettingsFixedLocation);
  WriteString(&store, "TPWR", "Opt", "4");
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD holderWait = WAIT_FAILED;
  std::thread holder([&] {
    WaitForSingleObject(store.mutex, INFINITE);
    SetEvent(held);
    holderWait = WaitForSingleObject(release, 10000);
    ReleaseMutex(store.mutex);
  });
  EXPECT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
  // Each call returns on its own while the other thread holds the store.
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 77), 77u);
  EXPECT_FALSE(WriteInt(&store, "TPWR", "Opt", 5));
  EXPECT_FALSE(DeleteKey(&store, "TPWR", "Opt"));
  EXPECT_EQ(Flush(&store), 0u);
  SetEvent(release);
  holder.join();
  EXPECT_EQ(holderWait, static_cast<DWORD>(WAIT_OBJECT_0)) << "the calls above blocked until the holder gave up";
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 77), 4u);
  CloseHandle(held);
  CloseHandle(release);
}

}  // namespace
