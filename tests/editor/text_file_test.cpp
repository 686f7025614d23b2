// Transcript files: how bytes become text, and that a save writes the exact
// format and never loses the previous version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/text_file.h"
#include "temp_tree.h"
#include "test_support.h"

namespace {

class ScratchFolder : public testing::Test {
 protected:
  TempTree tree;
  void TearDown() override { gTextFileWriteHook = nullptr; }
  int FilesInFolder() { return static_cast<int>(FolderNames(tree.root).size()); }
  std::wstring Path(const wchar_t* name) { return tree.Path(name); }
  std::vector<unsigned char> Bytes(const std::wstring& path) {
    auto bytes = ReadWholeFile(path);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
  }
  DWORD Save(const std::wstring& path, const std::wstring& text, TextSaveStage* stage = nullptr) {
    TextSaveStage ignored;
    return TextFileSave(path.c_str(), text.c_str(), text.size(), stage ? stage : &ignored);
  }
};

TEST(DocumentTexts, SaveChangesPrompt) {
  wchar_t text[400];
  BuildSaveChangesText(L"The file has changed. Do you want to save it?", L"C:\\work\\talk.txt", L"Untitled", text, 400);
  EXPECT_STREQ(text, L"The file has changed. Do you want to save it?\r\n\r\ntalk.txt");
  BuildSaveChangesText(L"Question\r\n", L"", L"Untitled", text, 400);
  EXPECT_STREQ(text, L"Question\r\n\r\n(Untitled)");
  // The window titles are the GUI cases' ("Tapewright - storm.txt", "Tapewright - Unbenannt").
}

TEST_F(ScratchFolder, SaveWritesUtf16WithByteOrderMarkAndReadsBack) {
  std::wstring path = Path(L"interview.txt");
  std::wstring text = L"Sound Cue: 01:15\r\nGr\u00FC\u00DF Gott \u20AC";
  // The bytes on disk (FF FE, then UTF-16LE) are the GUI Save As case's.
  ASSERT_EQ(Save(path, text), 0u);
  TextBuffer loaded{};
  ASSERT_EQ(TextFileLoad(path.c_str(), &loaded), 0u);
  EXPECT_EQ(std::wstring(loaded.text, loaded.length), text);
  TextBufferFree(&loaded);
  EXPECT_EQ(FilesInFolder(), 1) << "no temporary file is left behind";
}

TEST_F(ScratchFolder, FailedWriteLeavesThePreviousVersionIntact) {
  std::wstring path = Path(L"keep.txt");
  ASSERT_EQ(Save(path, L"first version"), 0u);
  auto before = Bytes(path);
  for (size_t failAt : {0u, 1u}) {
    static size_t sFailAt;
    sFailAt = failAt;
    gTextFileWriteHook = [](size_t piece) { return piece == sFailAt ? 0 : 1; };
    TextSaveStage stage;
    EXPECT_EQ(Save(path, L"second version, lost half-way", &stage), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(stage, kSaveWrite);
    EXPECT_EQ(Bytes(path), before) << "failing piece " << failAt;
    EXPECT_EQ(FilesInFolder(), 1) << "the temporary file is removed";
  }
}

TEST_F(ScratchFolder, AttributesAndRefusals) {
  std::wstring hidden = Path(L"hidden.txt");
  ASSERT_EQ(Save(hidden, L"a"), 0u);
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(Save(hidden, L"b"), 0u);
  EXPECT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Bytes(hidden), (std::vector<unsigned char>{0xFF, 0xFE, 'b', 0}));

  std::wstring readOnly = Path(L"locked.txt");
  ASSERT_EQ(Save(readOnly, L"a"), 0u);
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Save(readOnly, L"b"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Bytes(readOnly), (std::vector<unsigned char>{0xFF, 0xFE, 'a', 0}));

  for (const wchar_t* name : {L"trailing dot.", L"trailing blank ", L"what?.txt"})
    EXPECT_EQ(Save(Path(name), L"x"), static_cast<DWORD>(ERROR_INVALID_NAME)) << name;
}

TEST_F(ScratchFolder, MissingFoldersAreCreated) {
  std::wstring path = Path(L"a\\b\\deep.txt");
  ASSERT_EQ(Save(path, L"x"), 0u);
  EXPECT_EQ(Bytes(path), (std::vector<unsigned char>{0xFF, 0xFE, 'x', 0}));
}

TEST_F(ScratchFolder, AMissingFileLoadsNothing) {
  TextBuffer buffer{};
  EXPECT_EQ(TextFileLoad(Path(L"absent.txt").c_str(), &buffer), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(buffer.text, nullptr);
}

}  // namespace
