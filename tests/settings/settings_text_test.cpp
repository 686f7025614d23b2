// The settings text core: exact bytes of every edit case, and how sections and
// keys are matched.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/settings_text.h"

namespace {

using namespace std::string_literals;

struct Text {
  SettingsText text{};
  explicit Text(const std::string& bytes) { EXPECT_TRUE(SettingsTextAssign(&text, bytes.data(), bytes.size())); }
  ~Text() { SettingsTextFree(&text); }
  // The bytes, held to the length the text claims.
  std::string Bytes() const {
    std::string bytes = text.bytes ? text.bytes : "";
    EXPECT_EQ(bytes.size(), text.length);
    return bytes;
  }
};

TEST(SettingsTextWrite, ExactBytesOfEveryCase) {
  struct { const char *initial, *section, *key, *value, *expected; } cases[] = {
      {"", "A", "k", "1", "[A]\r\nk=1\r\n"},
      // A new section follows one empty line, never two, and always starts a line.
      {"[A]\r\nk=1\r\n", "B", "k", "5", "[A]\r\nk=1\r\n\r\n[B]\r\nk=5\r\n"},
      {"[A]\r\nk=1\r\n\r\n", "B", "k", "5", "[A]\r\nk=1\r\n\r\n[B]\r\nk=5\r\n"},
      {"[A]\r\nk=1", "B", "k", "5", "[A]\r\nk=1\r\n[B]\r\nk=5\r\n"},
      {"\r\n\r\n", "A", "k", "v", "\r\n\r\n\r\n[A]\r\nk=v\r\n"},
      // A new key goes before the empty line that separates the sections, and on a line of its own.
      {"[A]\r\nk=1\r\n\r\n[B]\r\nk=5\r\n", "A", "d", "2", "[A]\r\nk=1\r\nd=2\r\n\r\n[B]\r\nk=5\r\n"},
      {"[A]\r\nk=1", "A", "d", "2", "[A]\r\nk=1\r\nd=2\r\n"},
      // Shorter (in place), longer (grown) and the same value; the spaces around "=" stay.
      {"[A]\r\nk=long value\r\nz=1\r\n", "A", "k", "s", "[A]\r\nk=s\r\nz=1\r\n"},
      {"[A]\r\nk=s\r\nz=1\r\n", "A", "k", "much longer", "[A]\r\nk=much longer\r\nz=1\r\n"},
      {"[A]\r\nk=same\r\n", "A", "k", "same", "[A]\r\nk=same\r\n"},
      {"[A]\r\nk  =  v\r\n", "A", "k", "w", "[A]\r\nk  =  w\r\n"},
      // Names differ in case; a header starts its line; a later section's key is not ours.
      {"[A]\r\nKey=1\r\n", "A", "key", "2", "[A]\r\nKey=1\r\nkey=2\r\n"},
      {"[a]\r\nk=1\r\n", "A", "k", "2", "[a]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n"},
      {"x[A]\r\nk=1\r\n", "A", "k", "2", "x[A]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n"},
      {"[A]\r\nx=1\r\n\r\n[B]\r\nk=2\r\n", "A", "k", "3", "[A]\r\nx=1\r\nk=3\r\n\r\n[B]\r\nk=2\r\n"},
      // A value cannot start a line of its own.
      {"", "A", "k", "x\r\n[B]", "[A]\r\nk=x\r\n"},
      {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2", "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
      {"[A]\nk=1\n[B]\nk=2\n", "B", "k", "33", "[A]\nk=1\n[B]\nk=33\n"},
  };
  for (const auto& c : cases) {
    Text text(c.initial);
    int result = SettingsTextWrite(&text.text, c.section, c.key, c.value);
    EXPECT_EQ(text.Bytes(), c.expected) << c.initial;
    EXPECT_EQ(result, strcmp(c.initial, c.expected) ? kTextChanged : kTextUnchanged) << c.initial;
  }
}

TEST(SettingsTextRead, SectionsAndKeys) {
  struct { const char *text, *section, *key; int found; const char* value; } cases[] = {
      {"[A]\r\nk   =   v w \r\n", "A", "k", 1, "v w "}, {"[A]\r\nkeyX=1\r\n", "A", "key", 0, ""},
      {"[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n", "B", "k", 1, "2"}, {"[AB]\r\nk=1\r\n", "A", "k", 0, ""},
      {"[A]\r\nk=\r\n", "A", "k", 1, ""},                {"[A]\r\nk=end", "A", "k", 1, "end"},
      {"[A]\rx=1\rk=2\r", "A", "k", 1, "2"},              {"[A]\r\nk\r\nk=3\r\n", "A", "k", 1, "3"},
  };
  for (const auto& c : cases) {
    char value[64] = "garbage";
    EXPECT_EQ(SettingsTextRead(c.text, c.section, c.key, value, sizeof value), c.found) << c.text;
    EXPECT_STREQ(value, c.value) << c.text;
  }
}

TEST(SettingsText, NullArgumentsAndShortBuffers) {
  SettingsText text{};
  EXPECT_EQ(SettingsTextWrite(&text, nullptr, "k", "v"), kTextFailed);
  EXPECT_EQ(SettingsTextWrite(&text, "A", nullptr, "v"), kTextFailed);
  EXPECT_EQ(SettingsTextWrite(&text, "A", "k", nullptr), kTextFailed);
  EXPECT_EQ(text.bytes, nullptr);
  char value[4];
  EXPECT_EQ(SettingsTextRead("[A]\r\nk=abcdef\r\n", "A", "k", value, sizeof value), 1);
  EXPECT_STREQ(value, "abc");
  EXPECT_EQ(SettingsTextRead(nullptr, "A", "k", value, sizeof value), 0);
  EXPECT_EQ(SettingsTextRead("[A]\r\nk=1\r\n", nullptr, "k", value, sizeof value), 0);
}

TEST(SettingsTextDelete, KeysAndSections) {
  // A null key deletes the section.
  struct { const char *initial, *section, *key, *expected; } cases[] = {
      {"[A]\r\na=1\r\nk=2\r\nz=3\r\n", "A", "k", "[A]\r\na=1\r\nz=3\r\n"},
      {"[A]\r\na=1\r\nk=2", "A", "k", "[A]\r\na=1\r\n"},
      {"[A]\nk=2\nz=3\n", "A", "k", "[A]\nz=3\n"},
      {"[A]\r\na=1\r\n[B]\r\nk=2\r\n", "A", "k", "[A]\r\na=1\r\n[B]\r\nk=2\r\n"},
      {"[A]\r\na=1\r\n\r\n[B]\r\nk=2\r\n", "A", nullptr, "[B]\r\nk=2\r\n"},
      {"[A]\r\na=1\r\n\r\n[B]\r\nk=2\r\n", "B", nullptr, "[A]\r\na=1\r\n\r\n"},
      {"[A]\r\na=1\r\n", "B", nullptr, "[A]\r\na=1\r\n"},
  };
  for (const auto& c : cases) {
    Text text(c.initial);
    int result = c.key ? SettingsTextDeleteKey(&text.text, c.section, c.key)
                       : SettingsTextDeleteSection(&text.text, c.section);
    EXPECT_EQ(result, strcmp(c.initial, c.expected) ? kTextChanged : kTextUnchanged) << c.initial;
    EXPECT_EQ(text.Bytes(), c.expected) << c.initial;
  }
}

struct Collected {
  std::vector<std::string> entries;
  size_t stopAfter;
};

int Collect(const char* key, const char* value, void* context) {
  auto* collected = static_cast<Collected*>(context);
  collected->entries.push_back(std::string(key) + "|" + value);
  return collected->entries.size() >= collected->stopAfter;
}

TEST(SettingsTextEnum, EntriesOfOneSectionCutToTheirBounds) {
  const char text[] = "[Keys]\r\n112=FileNew\r\nno equals\r\n=nokey\r\n113 = Rew \r\n\r\n[Other]\r\n9=x\r\n";
  Collected all{{}, 100}, first{{}, 1}, none{{}, 100};
  EXPECT_EQ(SettingsTextEnum(text, "Keys", Collect, &all), 2u);
  EXPECT_EQ(all.entries, (std::vector<std::string>{"112|FileNew", "113|Rew "}));
  EXPECT_EQ(SettingsTextEnum(text, "Keys", Collect, &first), 1u);
  EXPECT_EQ(SettingsTextEnum(text, "Missing", Collect, &none), 0u);

  std::string longText = "[S]\r\n" + std::string(600, 'k') + "=" + std::string(5000, 'v') + "\r\n";
  Collected cut{{}, 100};
  EXPECT_EQ(SettingsTextEnum(longText.c_str(), "S", Collect, &cut), 1u);
  ASSERT_EQ(cut.entries.size(), 1u);
  EXPECT_EQ(cut.entries[0].size(), size_t(kEnumKeyBytes - 1 + 1 + kEnumValueBytes - 1));
}

TEST(SettingsTextAssign, NulBytesNeverJoinOrHideLines) {
  // The text cannot hold NUL bytes: a run of them becomes one LF where it stands
  // between two pieces of line text, else it goes.
  struct { std::string bytes; const char* expected; } cases[] = {
      {"[A]\r\nk=1\r\n\0[B]\r\nk=2\r\n"s, "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"},
      {"[A]\r\nk=1\0\0\0[B]\r\nk=2"s, "[A]\r\nk=1\n[B]\r\nk=2"},
      {"k=1\r\0\nz=2"s, "k=1\r\nz=2"}, {"k=1\0\r\n"s, "k=1\r\n"}, {"\0\0k=1\r\n\0\0"s, "k=1\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(c.bytes).Bytes(), c.expected);
}

}  // namespace
