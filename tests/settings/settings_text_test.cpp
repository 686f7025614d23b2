// The settings text core: exact bytes of every edit case, and how sections and
// keys are matched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_text.h"

namespace {

std::string Edit(const std::string& initial, int (*edit)(SettingsText*, const char*, const char*, const char*),
                 const char* section, const char* key, const char* value, int* result) {
  SettingsText text{};
  EXPECT_TRUE(SettingsTextAssign(&text, initial.data(), initial.size()));
  *result = edit(&text, section, key, value);
  std::string after(text.bytes ? text.bytes : "", text.length);
  EXPECT_EQ(after.size(), strlen(text.bytes ? text.bytes : ""));
  SettingsTextFree(&text);
  return after;
}

struct WriteCase {
  const char* name;
  const char* initial;
  const char* section;
  const char* key;
  const char* value;
  const char* expected;
  int result;
};

TEST(SettingsTextWrite, ExactBytesOfEveryCase) {
  const WriteCase cases[] = {
      {"new file", "", "TPWR", "Opt", "1", "[TPWR]\r\nOpt=1\r\n", kTextChanged},
      {"second section after CR LF", "[TPWR]\r\nOpt=1\r\n", "Player", "StepBak", "5",
       "[TPWR]\r\nOpt=1\r\n\r\n[Player]\r\nStepBak=5\r\n", kTextChanged},
      {"second section after an empty line", "[TPWR]\r\nOpt=1\r\n\r\n", "Player", "StepBak", "5",
       "[TPWR]\r\nOpt=1\r\n\r\n[Player]\r\nStepBak=5\r\n", kTextChanged},
      {"second section after an unfinished line", "[TPWR]\r\nOpt=1", "Player", "StepBak", "5",
       "[TPWR]\r\nOpt=1\r\n[Player]\r\nStepBak=5\r\n", kTextChanged},
      {"short text of two line breaks", "\r\n\r\n", "A", "k", "v", "\r\n\r\n\r\n[A]\r\nk=v\r\n", kTextChanged},
      {"key before the separating empty line", "[TPWR]\r\nOpt=1\r\n\r\n[Player]\r\nStepBak=5\r\n", "TPWR", "DM", "2",
       "[TPWR]\r\nOpt=1\r\nDM=2\r\n\r\n[Player]\r\nStepBak=5\r\n", kTextChanged},
      {"key into the last section", "[TPWR]\r\nOpt=1\r\n\r\n[Player]\r\nStepBak=5\r\n", "Player", "StepFwd", "7",
       "[TPWR]\r\nOpt=1\r\n\r\n[Player]\r\nStepBak=5\r\nStepFwd=7\r\n", kTextChanged},
      {"key after an unfinished line", "[TPWR]\r\nOpt=1", "TPWR", "DM", "2", "[TPWR]\r\nOpt=1\r\nDM=2\r\n",
       kTextChanged},
      {"key into an empty header", "[TPWR]", "TPWR", "DM", "2", "[TPWR]\r\nDM=2\r\n", kTextChanged},
      {"shorter value", "[A]\r\nk=long value\r\nz=1\r\n", "A", "k", "s", "[A]\r\nk=s\r\nz=1\r\n", kTextChanged},
      {"longer value", "[A]\r\nk=s\r\nz=1\r\n", "A", "k", "much longer", "[A]\r\nk=much longer\r\nz=1\r\n",
       kTextChanged},
      {"same value", "[A]\r\nk=same\r\n", "A", "k", "same", "[A]\r\nk=same\r\n", kTextUnchanged},
      {"empty value", "[A]\r\nk=v\r\n", "A", "k", "", "[A]\r\nk=\r\n", kTextChanged},
      {"spaces around the equals sign stay", "[A]\r\nk  =  v\r\n", "A", "k", "w", "[A]\r\nk  =  w\r\n", kTextChanged},
      {"keys differ in case", "[A]\r\nKey=1\r\n", "A", "key", "2", "[A]\r\nKey=1\r\nkey=2\r\n", kTextChanged},
      {"sections differ in case", "[a]\r\nk=1\r\n", "A", "k", "2", "[a]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n", kTextChanged},
      {"a header inside a line is no header", "x[A]\r\nk=1\r\n", "A", "k", "2", "x[A]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n",
       kTextChanged},
      {"a key of a later section is not ours", "[A]\r\nx=1\r\n\r\n[B]\r\nk=2\r\n", "A", "k", "3",
       "[A]\r\nx=1\r\nk=3\r\n\r\n[B]\r\nk=2\r\n", kTextChanged},
      {"a value stays one line", "", "A", "k", "x\r\n[B]", "[A]\r\nk=x\r\n", kTextChanged},
      {"byte order mark before the first header", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2",
       "\xEF\xBB\xBF[A]\r\nk=2\r\n", kTextChanged},
      {"LF line ends", "[A]\nk=1\n[B]\nk=2\n", "B", "k", "33", "[A]\nk=1\n[B]\nk=33\n", kTextChanged},
  };
  for (const WriteCase& c : cases) {
    int result = 0;
    EXPECT_EQ(Edit(c.initial, SettingsTextWrite, c.section, c.key, c.value, &result), c.expected) << c.name;
    EXPECT_EQ(result, c.result) << c.name;
  }
}

struct ReadCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  int found;
  const char* value;
};

TEST(SettingsTextRead, SectionsAndKeys) {
  const ReadCase cases[] = {
      {"plain", "[A]\r\nk=v\r\n", "A", "k", 1, "v"},
      {"spaces around the equals sign", "[A]\r\nk   =   v w \r\n", "A", "k", 1, "v w "},
      {"key differs in case", "[A]\r\nKey=1\r\n", "A", "key", 0, ""},
      {"key is only a prefix of the entry's key", "[A]\r\nkeyX=1\r\n", "A", "key", 0, ""},
      {"key of a later section", "[A]\r\nx=1\r\n\r\n[B]\r\nk=2\r\n", "A", "k", 0, ""},
      {"second section", "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n", "B", "k", 1, "2"},
      {"section name is a prefix", "[AB]\r\nk=1\r\n", "A", "k", 0, ""},
      {"missing section", "[A]\r\nk=1\r\n", "C", "k", 0, ""},
      {"empty value", "[A]\r\nk=\r\n", "A", "k", 1, ""},
      {"value at the end of the text", "[A]\r\nk=end", "A", "k", 1, "end"},
      {"CR line ends", "[A]\rx=1\rk=2\r", "A", "k", 1, "2"},
      {"line without equals sign is skipped", "[A]\r\nk\r\nk=3\r\n", "A", "k", 1, "3"},
      {"byte order mark before the header", "\xEF\xBB\xBF[A]\r\nk=4\r\n", "A", "k", 1, "4"},
      {"empty text", "", "A", "k", 0, ""},
  };
  for (const ReadCase& c : cases) {
    char value[64] = "garbage";
    EXPECT_EQ(SettingsTextRead(c.text, c.section, c.key, value, sizeof value), c.found) << c.name;
    EXPECT_STREQ(value, c.value) << c.name;
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
  struct Case {
    const char* name;
    const char* initial;
    const char* section;
    const char* key;  // null: delete the section
    const char* expected;
    int result;
  } cases[] = {
      {"key in the middle", "[A]\r\na=1\r\nk=2\r\nz=3\r\n", "A", "k", "[A]\r\na=1\r\nz=3\r\n", kTextChanged},
      {"last key without line break", "[A]\r\na=1\r\nk=2", "A", "k", "[A]\r\na=1\r\n", kTextChanged},
      {"key with LF only", "[A]\nk=2\nz=3\n", "A", "k", "[A]\nz=3\n", kTextChanged},
      {"missing key", "[A]\r\na=1\r\n", "A", "k", "[A]\r\na=1\r\n", kTextUnchanged},
      {"key of another section", "[A]\r\na=1\r\n[B]\r\nk=2\r\n", "A", "k", "[A]\r\na=1\r\n[B]\r\nk=2\r\n",
       kTextUnchanged},
      {"first section", "[A]\r\na=1\r\n\r\n[B]\r\nk=2\r\n", "A", nullptr, "[B]\r\nk=2\r\n", kTextChanged},
      {"last section", "[A]\r\na=1\r\n\r\n[B]\r\nk=2\r\n", "B", nullptr, "[A]\r\na=1\r\n\r\n", kTextChanged},
      {"missing section", "[A]\r\na=1\r\n", "B", nullptr, "[A]\r\na=1\r\n", kTextUnchanged},
  };
  for (const Case& c : cases) {
    SettingsText text{};
    ASSERT_TRUE(SettingsTextAssign(&text, c.initial, strlen(c.initial)));
    int result = c.key ? SettingsTextDeleteKey(&text, c.section, c.key) : SettingsTextDeleteSection(&text, c.section);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_STREQ(text.bytes, c.expected) << c.name;
    EXPECT_EQ(text.length, strlen(c.expected)) << c.name;
    SettingsTextFree(&text);
  }
}

TEST(SettingsTextDelete, SectionDeletedThenAddedKeepsOneEmptyLine) {
  SettingsText text{};
  const char initial[] = "[A]\r\na=1\r\n\r\n[UseThis]\r\nOpt=x\r\n";
  ASSERT_TRUE(SettingsTextAssign(&text, initial, strlen(initial)));
  EXPECT_EQ(SettingsTextDeleteSection(&text, "UseThis"), kTextChanged);
  EXPECT_EQ(SettingsTextWrite(&text, "B", "k", "v"), kTextChanged);
  EXPECT_STREQ(text.bytes, "[A]\r\na=1\r\n\r\n[B]\r\nk=v\r\n");
  SettingsTextFree(&text);
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

TEST(SettingsTextEnum, EntriesOfOneSection) {
  const char text[] = "[Keys]\r\n112=FileNew\r\nno equals\r\n=nokey\r\n113 = Rew \r\n\r\n[Other]\r\n9=x\r\n";
  Collected all{{}, 100};
  EXPECT_EQ(SettingsTextEnum(text, "Keys", Collect, &all), 2u);
  EXPECT_EQ(all.entries, (std::vector<std::string>{"112|FileNew", "113|Rew "}));
  Collected first{{}, 1};
  EXPECT_EQ(SettingsTextEnum(text, "Keys", Collect, &first), 1u);
  Collected none{{}, 100};
  EXPECT_EQ(SettingsTextEnum(text, "Missing", Collect, &none), 0u);
  EXPECT_EQ(SettingsTextEnum("", "Keys", Collect, &none), 0u);
}

TEST(SettingsTextEnum, LongKeysAndValuesAreCut) {
  std::string text = "[S]\r\n" + std::string(600, 'k') + "=" + std::string(5000, 'v') + "\r\n";
  Collected all{{}, 100};
  EXPECT_EQ(SettingsTextEnum(text.c_str(), "S", Collect, &all), 1u);
  ASSERT_EQ(all.entries.size(), 1u);
  EXPECT_EQ(all.entries[0].size(), size_t(kEnumKeyBytes - 1 + 1 + kEnumValueBytes - 1));
}

TEST(SettingsTextCopy, SectionCopyEndsAtTheNextHeader) {
  SettingsText copy{};
  EXPECT_TRUE(SettingsTextCopySection("[A]\r\na=1\r\n[B]\r\nb=2\r\n", "A", &copy));
  EXPECT_STREQ(copy.bytes, "[A]\r\na=1\r\n");
  SettingsTextFree(&copy);
  EXPECT_FALSE(SettingsTextCopySection("[A]\r\n", "B", &copy));
  EXPECT_EQ(copy.bytes, nullptr);
}

// All bytes of a literal, NUL bytes included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

TEST(SettingsTextAssign, NulBytesNeverJoinOrHideLines) {
  // The text cannot hold NUL bytes: a run of them becomes one LF where it stands
  // between two pieces of line text, else it goes.
  const struct {
    const char* name;
    std::string bytes;
    size_t taken;  // bytes handed over; 0: all
    const char* expected;
  } cases[] = {
      {"after a line break", Bytes("[A]\r\nk=1\r\n\0[B]\r\nk=2\r\n"), 0, "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"},
      {"in place of a line break", Bytes("[A]\r\nk=1\0\0\0[B]\r\nk=2"), 0, "[A]\r\nk=1\n[B]\r\nk=2"},
      {"between CR and LF", Bytes("k=1\r\0\nz=2"), 0, "k=1\r\nz=2"},
      {"before a line break", Bytes("k=1\0\r\n"), 0, "k=1\r\n"},
      {"at the start and the end", Bytes("\0\0k=1\r\n\0\0"), 0, "k=1\r\n"},
      {"only NUL bytes", Bytes("\0\0"), 0, ""},
      {"cut at the length", "abcdef", 2, "ab"},
  };
  for (const auto& c : cases) {
    SettingsText text{};
    ASSERT_TRUE(SettingsTextAssign(&text, c.bytes.data(), c.taken ? c.taken : c.bytes.size())) << c.name;
    EXPECT_STREQ(text.bytes, c.expected) << c.name;
    EXPECT_EQ(text.length, strlen(c.expected)) << c.name;
    SettingsTextFree(&text);
  }
}

}  // namespace
