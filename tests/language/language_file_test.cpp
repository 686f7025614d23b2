// External language files: encodings, keys, fallbacks and refused files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "language/language.h"
#include "language/language_file.h"
#include "test_support.h"

enum Encoding { kUtf16, kUtf8, kAnsi };

// The file bytes for a text written with ASCII and \u escapes below U+0800.
// Shared with language_list_test.cpp.
std::vector<uint8_t> FileBytes(Encoding encoding, const std::wstring& text) {
  std::vector<uint8_t> bytes;
  if (encoding == kUtf16) bytes = {0xFF, 0xFE};
  if (encoding == kUtf8) bytes = {0xEF, 0xBB, 0xBF};
  for (wchar_t c : text) {
    if (encoding == kUtf16)
      bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    else if (encoding == kAnsi || c < 0x80)
      bytes.push_back(uint8_t(c));
    else
      bytes.insert(bytes.end(), {uint8_t(0xC0 | c >> 6), uint8_t(0x80 | (c & 0x3F))});
  }
  return bytes;
}

namespace {

struct OwnedTable {
  LanguageRecord* table;
  explicit OwnedTable(const std::vector<uint8_t>& bytes) : table(BuildLanguageTableFromFile(bytes.data(), bytes.size())) {}
  ~OwnedTable() { FreeLanguageTable(table); }
  std::wstring Text(uint16_t id) const {
    wchar_t buffer[kLanguageFileTextChars + 1];
    GetLanguageText(table, id, buffer, kLanguageFileTextChars + 1);
    return buffer;
  }
};

std::wstring English(uint16_t id) {
  wchar_t buffer[600];
  GetLanguageText(kLanguageTableEnglish, id, buffer, 600);
  return buffer;
}

const wchar_t kFrench[] =
    L"Language=Fran\u00E7ais\r\n"
    L"CP=1252\r\n"
    L"FNew=&Nouveau;Cr\u00E9e un document\r\n"
    L"mFle__=&Fichier;Fichiers\n"
    L"qChg=Le fichier a chang\u00E9.\\nEnregistrer ?\r\n"
    L"Abot=\u00C0 &propos\\tF1;Infos";

}  // namespace

TEST(LanguageFile, ThreeEncodings) {
  for (Encoding encoding : {kUtf16, kUtf8, kAnsi}) {
    SCOPED_TRACE(encoding);
    OwnedTable file(FileBytes(encoding, kFrench));
    ASSERT_NE(file.table, nullptr);
    EXPECT_EQ(file.table[0].id, -1253);  // complement of CP
    EXPECT_EQ(file.Text(kTextLanguageName), L"Fran\u00E7ais");
    EXPECT_EQ(file.Text(kCmdFileNew), L"&Nouveau;Cr\u00E9e un document");
    EXPECT_EQ(file.Text(kMenuFile), L"&Fichier;Fichiers");
    EXPECT_EQ(file.Text(kTextFileChanged), L"Le fichier a chang\u00E9.\nEnregistrer ?");
    EXPECT_EQ(file.Text(kCmdAbout), L"\u00C0 &propos\tF1;Infos");  // tab escape replaced on fetch
    // Keys missing from the file take the English text.
    for (uint16_t id : {uint16_t(kCmdFileOpen), uint16_t(kTextKeyNameBase + 145)}) EXPECT_EQ(file.Text(id), English(id));
    EXPECT_EQ(LanguageRecordCount(file.table), LanguageRecordCount(kLanguageTableKeys));
  }
}

TEST(LanguageFile, KeySearchRules) {
  // Underscores may stand before "="; a lone CR ends the line; an occurrence
  // without "=" is skipped; keys need not start a line and the first one counts;
  // present but empty stays empty; a blank before "=" or another case is no key;
  // the end of the file ends the text.
  struct { const wchar_t *file, *text; } cases[] = {
      {L"FNew____=b\r\nx", L"b"}, {L"FNew=c\rFOpn=d", L"c"}, {L"mFle=Use FNew here\nFNew=e", L"e"},
      {L"xFNew=f\nFNew=g", L"f"},  {L"FNew=\nFNew=j", L""},   {L"FNew =k", nullptr},
      {L"fnew=l", nullptr},        {L"FNew", nullptr},        {L"a\\\\nb FNew=1\\n2\\", L"1\n2\\"},
  };
  for (const auto& c : cases) {
    for (Encoding encoding : {kUtf16, kUtf8, kAnsi}) {
      std::vector<uint8_t> bytes = FileBytes(encoding, c.file);
      LanguageFileView view;
      OpenLanguageFileView(&view, bytes.data(), bytes.size());
      wchar_t text[64];
      size_t length = 99;
      int found = FindLanguageFileText(&view, "FNew", text, 64, &length);
      EXPECT_EQ(found != 0, c.text != nullptr) << encoding;
      if (c.text) {
        EXPECT_STREQ(text, c.text) << encoding;
        EXPECT_EQ(length, wcslen(c.text));
      }
    }
  }
}

// Record 0 holds the complement of CP, which must stay negative (a wide table)
// even for the largest code page.
TEST(LanguageFile, CodePageKeepsTheTableWide) {
  for (const wchar_t* file : {L"FNew=x", L"CP=65001", L"CP=abc"}) {
    OwnedTable table(FileBytes(kUtf8, file));
    EXPECT_TRUE(LanguageTableIsWide(table.table));
    EXPECT_EQ(table.Text(kCmdFileNew), file[0] == L'F' ? L"x" : English(kCmdFileNew));
  }
}

TEST(LanguageFile, BadFilesFallBackToEnglish) {
  std::vector<uint8_t> noise(3000);
  uint32_t seed = 12345;
  for (uint8_t& byte : noise) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(seed >> 16);
  }
  struct { const char* name; std::vector<uint8_t> bytes; } cases[] = {
      {"empty", {}}, {"bom only", {0xFF, 0xFE}}, {"half a bom", {0xEF, 0xBB}},
      {"odd utf16", {0xFF, 0xFE, 'F', 0, 'N', 0, 'e', 0, 'w', 0, '='}},
      {"utf16 read as 8-bit", {'F', 0, 'N', 0, 'e', 0, 'w', 0, '=', 0, 'Q', 0}},
      {"broken utf8", {0xEF, 0xBB, 0xBF, 'x', 0xC3, 0x28, 0xFF}},
      {"noise", noise},
  };
  for (const auto& c : cases) {
    OwnedTable file(c.bytes);
    ASSERT_NE(file.table, nullptr) << c.name;
    EXPECT_EQ(file.Text(kTextLanguageName), L"Extl") << c.name;
    EXPECT_EQ(file.Text(kCmdFileNew), English(kCmdFileNew)) << c.name;
  }
  // Odd length: the stray last byte is dropped.
  std::vector<uint8_t> odd = FileBytes(kUtf16, L"FNew=Neu");
  odd.push_back('X');
  EXPECT_EQ(OwnedTable(odd).Text(kCmdFileNew), L"Neu");
  LanguageRecord* none = BuildLanguageTableFromFile(nullptr, 50);
  ASSERT_NE(none, nullptr);
  FreeLanguageTable(none);
}

TEST(LanguageFile, LongTextsAreBounded) {
  std::wstring longText(3000, L'x');
  OwnedTable utf16(FileBytes(kUtf16, L"FNew=" + longText + L"\r\nFOpn=ok"));
  EXPECT_EQ(utf16.Text(kCmdFileNew).size(), kLanguageFileTextChars);
  EXPECT_EQ(utf16.Text(kCmdFileOpen), L"ok");
  // UTF-8: at most 2730 bytes, never half a character (2729 = 1 + 2 * 1364).
  std::wstring twoByte = L"a" + std::wstring(1500, L'\u00E9');
  OwnedTable utf8(FileBytes(kUtf8, L"FNew=" + twoByte));
  std::wstring text = utf8.Text(kCmdFileNew);
  EXPECT_EQ(text.size(), 1365u);
  EXPECT_EQ(text.back(), L'\u00E9');
  OwnedTable ansi(FileBytes(kAnsi, L"FNew=" + longText));
  EXPECT_EQ(ansi.Text(kCmdFileNew).size(), kLanguageFileTextChars);
}

class LanguageFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    work = TestFolder("TPWR_LANGUAGE_WORK");
    if (work.empty()) GTEST_SKIP() << "TPWR_LANGUAGE_WORK not set";
  }
  std::wstring Folder(const char* name) const { return TestPath(TestPath(work, name), ""); }
  std::wstring work;
};

TEST_F(LanguageFileOnDisk, LoadByCodeWithFallbacks) {
  std::wstring load = Folder("load");
  ASSERT_TRUE(WriteWholeFile(load + L"_XY.LNG", FileBytes(kUtf16, kFrench)));
  ASSERT_TRUE(WriteWholeFile(load + L"_Z .LNG", FileBytes(kUtf8, L"Language=Zed\nFNew=Zed new")));
  ASSERT_TRUE(WriteWholeFile(Folder("fallback") + L"_US.LNG", FileBytes(kAnsi, L"Language=Local English\nFNew=N")));

  struct { std::wstring folder; const char* code; const wchar_t* name; } cases[] = {
      {load, "XY", L"Fran\u00E7ais"},
      {load, "Z", L"Zed"},                           // one character: a blank follows
      {Folder("fallback"), "QQ", L"Local English"},  // no _QQ.LNG: _US.LNG
      {Folder("empty"), "QQ", nullptr},              // neither: loading fails
      // Codes never name another folder.
      {load, "", nullptr}, {load, "..", nullptr}, {load, "a/b", nullptr}, {load, "C:", nullptr},
  };
  for (const auto& c : cases) {
    LanguageRecord* table = LoadLanguageFileForCode(c.folder.c_str(), c.code);
    EXPECT_EQ(table != nullptr, c.name != nullptr) << c.code;
    if (table) {
      wchar_t name[64];
      GetLanguageText(table, kTextLanguageName, name, 64);
      EXPECT_STREQ(name, c.name);
    }
    FreeLanguageTable(table);
  }
}

TEST_F(LanguageFileOnDisk, OversizeFilesAreRefused) {
  std::wstring folder = Folder("names");
  std::vector<uint8_t> bytes = FileBytes(kAnsi, L"Language=Big\r\nFNew=x\r\n");
  bytes.resize(kLanguageFileMaxBytes, '-');
  ASSERT_TRUE(WriteWholeFile(folder + L"_BG.LNG", bytes));
  size_t size = 0;
  uint8_t* read = ReadLanguageFile((folder + L"_BG.LNG").c_str(), &size);
  ASSERT_NE(read, nullptr);  // exactly the limit is still read
  EXPECT_EQ(size, bytes.size());
  free(read);
  bytes.push_back('-');
  ASSERT_TRUE(WriteWholeFile(folder + L"_BG.LNG", bytes));
  EXPECT_EQ(ReadLanguageFile((folder + L"_BG.LNG").c_str(), &size), nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(LoadLanguageFileForCode(folder.c_str(), "BG"), nullptr);  // no _US.LNG there either
  wchar_t name[16];
  EXPECT_EQ(ReadLanguageFileDisplayName((folder + L"_BG.LNG").c_str(), name, 16), 0);
}

TEST_F(LanguageFileOnDisk, SelectTableForCode) {
  std::wstring load = Folder("load");
  ASSERT_TRUE(WriteWholeFile(load + L"_XY.LNG", FileBytes(kUtf16, kFrench)));
  LanguageTable table = SelectLanguageTable(nullptr, "de", load.c_str());
  EXPECT_EQ(table, kLanguageTableGerman);
  table = SelectLanguageTable(table, "XY", load.c_str());
  ASSERT_FALSE(IsBuiltInLanguageTable(table));
  wchar_t text[64];
  GetLanguageText(table, kCmdFileNew, text, 64);
  EXPECT_STREQ(text, L"&Nouveau;Cr\u00E9e un document");
  table = SelectLanguageTable(table, "QQ", Folder("empty").c_str());  // frees the file's table
  EXPECT_EQ(table, kLanguageTableEnglish);
  EXPECT_EQ(SelectLanguageTable(table, "", load.c_str()), kLanguageTableEnglish);
  EXPECT_EQ(SelectLanguageTable(nullptr, nullptr, nullptr), kLanguageTableEnglish);
}
