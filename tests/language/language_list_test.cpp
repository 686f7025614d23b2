// The languages the Language dialog offers: the built-in ones, then the
// language files of a folder (Windows: the folder is searched).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/language_file.h"
#include "language/language_list.h"
#include "test_support.h"

enum Encoding { kUtf16, kUtf8, kAnsi };
std::vector<uint8_t> FileBytes(Encoding encoding, const std::wstring& text);  // language_file_test.cpp

TEST(LanguageList, BuiltInsThenFilesBesideTheProgram) {
  // (The built-in two, by name, are the Language dialog test's list.)
  LanguageChoice choices[kMaxLanguageChoices];
  std::wstring work = TestFolder("TPWR_LANGUAGE_WORK");
  if (work.empty()) GTEST_SKIP() << "TPWR_LANGUAGE_WORK not set";
  std::wstring list = TestPath(TestPath(work, "list"), "");
  std::wstring padding(120, L'-');
  struct { const wchar_t* file; std::vector<uint8_t> bytes; } files[] = {
      {L"_fr.LNG", FileBytes(kUtf16, L"Language=Fran\u00E7ais\r\n" + padding)},  // listed as FR
      {L"_de.LNG", FileBytes(kAnsi, L"Language=Deutsch extern\r\n" + padding)},  // DE is built in: skipped
      {L"_XX.LNG", FileBytes(kUtf8, L"FNew=x\r\n" + padding)},                   // no Language
      {L"_WW.LNG", FileBytes(kUtf8, L"Language=\r\n" + padding)},                // an empty one
      {L"_YY.LNG", FileBytes(kAnsi, L"Language=Tiny\r\n")},                      // 100 bytes or less
      {L"_ABC.LNG", FileBytes(kAnsi, L"Language=Long code\r\n" + padding)},      // not two characters
  };
  for (const auto& f : files) ASSERT_TRUE(WriteWholeFile(list + f.file, f.bytes));
  int count = ListLanguages(list.c_str(), choices, kMaxLanguageChoices);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(choices[2].code, "FR");
  EXPECT_STREQ(choices[2].name, L"Fran\u00E7ais");
  EXPECT_EQ(ListLanguages(list.c_str(), choices, 1), 1);  // bounded by the caller's room

  // A code chosen from "_fr.LNG" is stored as "FR" and loads the same file.
  LanguageTable table = SelectLanguageTable(nullptr, choices[2].code, list.c_str());
  wchar_t name[32];
  GetLanguageText(table, kTextLanguageName, name, 32);
  EXPECT_STREQ(name, L"Fran\u00E7ais");
  FreeLanguageTable(table);
}
