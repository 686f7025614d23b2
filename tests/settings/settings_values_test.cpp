// Composite values (placement, colours, custom colours, font, options, sections)
// and two threads sharing one store.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "settings_temp_folder.h"

namespace {

// A store on an in-memory text only (no path): the values never reach a file.
struct MemoryStore {
  SettingsStore store{kSettingsFixedLocation};
  explicit MemoryStore(const char* section = nullptr, const char* key = nullptr, const char* value = nullptr) {
    if (section) WriteString(&store, section, key, value);
  }
};

TEST(SettingsPlacement, StoredPlacementsAndRejections) {
  struct {
    const char* value;
    int accepted;
    SettingsPlacement expected;
  } cases[] = {
      {"10,20,600,500,1", 1, {10, 20, 600, 500, 1}},
      {"-8,-8,800,600,3", 1, {-8, -8, 800, 600, 3}},
      {"10,20,600,500,2", 1, {10, 20, 600, 500, 0}},
      {"10,20,600,500,7", 1, {10, 20, 600, 500, 0}},
      {"10,20,50,50,1", 1, {10, 20, 50, 50, 1}},
      {"10,20,49,500,1", 0, {}},
      {"10,20,600,49,1", 0, {}},
      {"10,20,600,500", 0, {}},
      {"10,20,600,500,1,9", 0, {}},
      {"10,20,1000000,500,1", 0, {}},
      {"10,20,600,1000000,1", 0, {}},
      {"", 0, {}},
  };
  for (const auto& c : cases) {
    MemoryStore memory("TPWR", "Pos", c.value);
    SettingsPlacement placement{1, 1, 1, 1, 1};
    // Defaults below 1 are used unscaled, so the default is known exactly.
    EXPECT_EQ(ReadWindowPos(&memory.store, "TPWR", &placement, 0, -1), c.accepted) << c.value;
    SettingsPlacement expected = c.accepted ? c.expected : SettingsPlacement{kDefaultWindowPosition,
                                                                             kDefaultWindowPosition, 0, -1, 0};
    EXPECT_EQ(memcmp(&placement, &expected, sizeof placement), 0)
        << c.value << ": " << placement.left << "," << placement.top << "," << placement.width << ","
        << placement.height << "," << placement.state;
  }
}

TEST(SettingsPlacement, WriterFormatAndFlagFour) {
  MemoryStore memory;
  SettingsPlacement placement{-4, 30, 640, 480, 3};
  EXPECT_TRUE(WriteWindowPlacement(&memory.store, "TPWR", &placement));
  char text[64];
  ReadString(&memory.store, "TPWR", "Pos", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "-4,30,640,480,3");
  memory.store.flags |= kSettingsNoWindowPos;
  SettingsPlacement other{1, 2, 300, 300, 1};
  EXPECT_FALSE(WriteWindowPlacement(&memory.store, "TPWR", &other));
  ReadString(&memory.store, "TPWR", "Pos", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "-4,30,640,480,3");
}

TEST(SettingsColors, PairRulesAndDefaults) {
  struct {
    const char* value;
    int accepted;
    COLORREF text, background;
    uint32_t useSystem;
  } cases[] = {
      {"#0,ffffff", 1, 0x000000, 0xFFFFFF, 0},
      {"#0,ffffff,1", 1, 0x000000, 0xFFFFFF, 1},
      {"#0,5f", 1, 0x000000, 0x00005F, 0},         // contrast exactly 95
      {"#1f1f1f,3f3f3f", 1, 0x1F1F1F, 0x3F3F3F, 0},  // 32 in every channel: 96
      {"#6f1010,101010", 1, 0x6F1010, 0x101010, 0},  // 95 in blue alone
      {"#0,5e", 0, 0, 0, 1},                         // contrast 94
      {"#6e1010,101010", 0, 0, 0, 1},                // 94 in blue alone
      {"#2f2f2f,4f4e4e", 0, 0, 0, 1},                // 32 + 31 + 31 = 94 over three channels
      {"#123456,123456", 0, 0, 0, 1},
      {"#ffffff", 0, 0, 0, 1},
      {"", 0, 0, 0, 1},
  };
  COLORREF defaults[2];
  DefaultTextColors(defaults);
  EXPECT_EQ(defaults[0], GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(defaults[1], GetSysColor(COLOR_WINDOW));
  for (const auto& c : cases) {
    MemoryStore memory("TPWR", "Color", c.value);
    COLORREF colors[2] = {7, 7};
    uint32_t useSystem = 9;
    int accepted = ReadColors(&memory.store, "TPWR", "Color", colors, &useSystem);
    EXPECT_EQ(accepted, c.accepted) << c.value;
    EXPECT_EQ(colors[0], c.accepted ? c.text : defaults[0]) << c.value;
    EXPECT_EQ(colors[1], c.accepted ? c.background : defaults[1]) << c.value;
    EXPECT_EQ(useSystem, c.useSystem) << c.value;
  }
}

TEST(SettingsColors, WritersAndCustomColors) {
  MemoryStore memory;
  const COLORREF pair[2] = {0x0000FF, 0xFFFFFF};
  uint32_t flag = 1;
  char text[200];
  EXPECT_TRUE(WriteColors(&memory.store, "TPWR", "Color", pair, nullptr));
  ReadString(&memory.store, "TPWR", "Color", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "#ff,ffffff");
  EXPECT_TRUE(WriteColors(&memory.store, "TPWR", "Color", pair, &flag));
  ReadString(&memory.store, "TPWR", "Color", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "#ff,ffffff,1");

  COLORREF colors[kCustomColorCount];
  EXPECT_EQ(ReadCustomColors(&memory.store, "TPWR", colors), 0);
  for (COLORREF color : colors) EXPECT_EQ(color, kCustomColorWhite);

  colors[0] = 0x102030;
  colors[2] = 0;
  EXPECT_TRUE(WriteCustomColors(&memory.store, "TPWR", colors));
  ReadString(&memory.store, "TPWR", "CC", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "#102030,ffffff,0");
  COLORREF back[kCustomColorCount];
  EXPECT_EQ(ReadCustomColors(&memory.store, "TPWR", back), 3);
  EXPECT_EQ(memcmp(back, colors, sizeof colors), 0);

  for (COLORREF& color : colors) color = kCustomColorWhite;
  EXPECT_TRUE(WriteCustomColors(&memory.store, "TPWR", colors));
  EXPECT_EQ(ReadString(&memory.store, "TPWR", "CC", nullptr, text, sizeof text), 1) << "all white deletes the key";
}

LOGFONTW SampleFont(const wchar_t* face) {
  LOGFONTW font{-17, 3, 900, 900, FW_BOLD, 1, 1, 0, RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, {}};
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

TEST(SettingsFont, DescriptionRoundTrips) {
  const wchar_t* faces[] = {L"Courier New", L"\x0416\x0443\x0440\x043D\x0430\x043B, \x043C\x043E\x043D\x043E", L""};
  for (const wchar_t* face : faces) {
    MemoryStore memory;
    LOGFONTW font = SampleFont(face);
    EXPECT_TRUE(WriteFontDescription(&memory.store, "TPWR", "Font", &font));
    LOGFONTW back;
    EXPECT_TRUE(ReadFont(&memory.store, "TPWR", "Font", &back));
    EXPECT_EQ(memcmp(&back, &font, sizeof font), 0);
  }
  MemoryStore memory;
  LOGFONTW font = SampleFont(L"Arial");
  WriteFontDescription(&memory.store, "TPWR", "Font", &font);
  char text[128];
  ReadString(&memory.store, "TPWR", "Font", nullptr, text, sizeof text);
  EXPECT_STREQ(text, "-17,3,900,900,700,1,1,0,204,4,0,5,49,Arial");
}

TEST(SettingsFont, MissingChangedDesktopAndHandles) {
  MemoryStore memory;
  LOGFONTW font;
  memset(&font, 0x55, sizeof font);
  EXPECT_FALSE(ReadFont(&memory.store, "TPWR", "Font", &font));
  LOGFONTW zero{};
  EXPECT_EQ(memcmp(&font, &zero, sizeof font), 0);

  LOGFONTW sample = SampleFont(L"Arial");
  HFONT handle = CreateFontIndirectW(&sample);
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(WriteFont(&memory.store, "TPWR", "Font", handle));
  DeleteObject(handle);
  EXPECT_TRUE(ReadFont(&memory.store, "TPWR", "Font", &font));
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfHeight, -17);

  memory.store.flags |= kSettingsDesktopChanged;
  EXPECT_FALSE(ReadFont(&memory.store, "TPWR", "Font", &font));
  EXPECT_EQ(memcmp(&font, &zero, sizeof font), 0);
  memory.store.flags &= ~kSettingsDesktopChanged;

  EXPECT_TRUE(WriteFont(&memory.store, "TPWR", "Font", nullptr));
  char text[8];
  EXPECT_EQ(ReadString(&memory.store, "TPWR", "Font", nullptr, text, sizeof text), 1);
}

struct Seen {
  SettingsStore* store;
  std::vector<std::string> keys;
};

int NoteAndWrite(const char* key, const char* value, void* context) {
  auto* seen = static_cast<Seen*>(context);
  seen->keys.push_back(std::string(key) + "=" + value);
  // The walk runs on a copy: the routine may change the store meanwhile.
  WriteString(seen->store, "Keys", "999", "Rew");
  return 0;
}

TEST(SettingsSections, EnumerateAndDelete) {
  MemoryStore memory;
  WriteString(&memory.store, "Keys", "112", "FileNew");
  WriteString(&memory.store, "Keys", "113", "-");
  WriteInt(&memory.store, "Player", "StepBak", 5);
  Seen seen{&memory.store, {}};
  EXPECT_EQ(EnumSection(&memory.store, "Keys", NoteAndWrite, &seen), 2u);
  EXPECT_EQ(seen.keys, (std::vector<std::string>{"112=FileNew", "113=-"}));
  EXPECT_EQ(ReadInt(&memory.store, "Keys", "999", 0), 0u) << "999 is a key, its value a command name";
  EXPECT_TRUE(DeleteSection(&memory.store, "Keys"));
  EXPECT_EQ(EnumSection(&memory.store, "Keys", NoteAndWrite, &seen), 0u);
  EXPECT_EQ(ReadInt(&memory.store, "Player", "StepBak", 0), 5u);
}

constexpr int kKeysPerThread = 300;

// Writes (unless only checking) and reads back every key of one section.
void WriteAndReadMany(SettingsStore* store, const char* section, int* lost, bool write) {
  char key[16], value[16], back[16];
  for (int i = 0; i < kKeysPerThread; i++) {
    snprintf(key, sizeof key, "K%d", i);
    snprintf(value, sizeof value, "%s%d", section, i * 7);
    if (write && !WriteString(store, section, key, value)) ++*lost;
    if (ReadString(store, section, key, nullptr, back, sizeof back) != 0 || strcmp(back, value) != 0) ++*lost;
  }
}

TEST(SettingsConcurrency, TwoThreadsLoseNothing) {
  TempTree tree;
  std::wstring path = tree.Path(L"threads.INI");
  int lostA = 0, lostB = 0;
  {
    SettingsStore store(kSettingsFixedLocation, path.c_str());
    std::thread a(WriteAndReadMany, &store, "A", &lostA, true);
    std::thread b(WriteAndReadMany, &store, "B", &lostB, true);
    a.join();
    b.join();
  }
  EXPECT_EQ(lostA, 0);
  EXPECT_EQ(lostB, 0);
  SettingsStore again(kSettingsFixedLocation, path.c_str());
  WriteAndReadMany(&again, "A", &lostA, false);
  WriteAndReadMany(&again, "B", &lostB, false);
  EXPECT_EQ(lostA, 0) << "in the saved file";
  EXPECT_EQ(lostB, 0) << "in the saved file";
}

struct Holder {
  SettingsStore* store;
  HANDLE held;
  HANDLE release;
  DWORD waitResult;
};

DWORD WINAPI HoldStore(void* context) {
  auto* holder = static_cast<Holder*>(context);
  WaitForSingleObject(holder->store->mutex, INFINITE);
  SetEvent(holder->held);
  holder->waitResult = WaitForSingleObject(holder->release, 10000);
  ReleaseMutex(holder->store->mutex);
  return 0;
}

TEST(SettingsConcurrency, BusyStoreGivesUpInsteadOfBlocking) {
  MemoryStore memory("TPWR", "Opt", "4");
  Holder holder{&memory.store, CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr),
                WAIT_FAILED};
  HANDLE thread = CreateThread(nullptr, 0, HoldStore, &holder, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(holder.held, 10000), WAIT_OBJECT_0);
  // Each call returns on its own while the other thread holds the store.
  EXPECT_EQ(ReadInt(&memory.store, "TPWR", "Opt", 77), 77u);
  EXPECT_FALSE(WriteInt(&memory.store, "TPWR", "Opt", 5));
  EXPECT_FALSE(DeleteKey(&memory.store, "TPWR", "Opt"));
  EXPECT_EQ(Flush(&memory.store), 0u);
  SetEvent(holder.release);
  WaitForSingleObject(thread, INFINITE);
  EXPECT_EQ(holder.waitResult, static_cast<DWORD>(WAIT_OBJECT_0)) << "the calls above blocked until the holder gave up";
  EXPECT_EQ(ReadInt(&memory.store, "TPWR", "Opt", 77), 4u);
  CloseHandle(thread);
  CloseHandle(holder.held);
  CloseHandle(holder.release);
}

}  // namespace
