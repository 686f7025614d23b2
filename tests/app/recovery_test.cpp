// The recovery copy on the hosted main window: written while the text is
// unsaved and removed by a save; a copy left by a program that did not end is
// offered (Yes restores it, No keeps it aside), one whose program still runs is
// not; a folder that cannot be written is reported once and never stops the
// typing. And File > Export Cues writes the file the user chose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "editor/cue_file.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/recovery.h"
#include "main_window_host.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "test_support.h"
#include "ui/status_bar.h"

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs messages until the copy's write has been reported, for at most ten seconds.
bool WaitFor(bool (*done)()) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    DispatchPending();
    Sleep(10);
  }
  return done();
}

class Recovery : public HostedWindowTest {
 protected:
  static void Type(const wchar_t* text) {
    SendMessageW(EditorWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
  static std::wstring Folder() { return RecoveryFolder(); }
};

TEST_F(Recovery, TheCopyHoldsTheUnsavedTextUntilASave) {
  std::wstring transcript = gFolder + L"\\hearing.txt";
  WriteWholeFile(transcript, Utf16File(L"day one"));
  ASSERT_TRUE(DocumentOpenFile(gMainWindow, transcript.c_str()));
  RecoveryWriteIfChanged(gMainWindow);
  EXPECT_FALSE(Exists(RecoveryCopyPath())) << "nothing unsaved, no copy";
  SendMessageW(EditorWindow(), EM_SETSEL, 7, 7);
  Type(L", Gr\u00FC\u00DFe");
  RecoveryWriteIfChanged(gMainWindow);
  ASSERT_TRUE(WaitFor([] { return !ReadWholeFile(RecoveryCopyPath()).empty(); }));
  EXPECT_EQ(ReadWholeFile(RecoveryCopyPath()),
            Utf16File(L"<Tapewright recovery: " + transcript + L">\r\nday one, Gr\u00FC\u00DFe"));
  EXPECT_EQ(ReadWholeFile(transcript), Utf16File(L"day one")) << "the transcript itself is untouched";
  ASSERT_TRUE(DocumentSave(gMainWindow));
  EXPECT_FALSE(Exists(RecoveryCopyPath()));
}

// A copy as a program that was killed leaves it: no lock beside it.
void LeaveCopy(const std::wstring& stem, const std::wstring& original, const std::wstring& text) {
  CreateDirectoryW(RecoveryFolder(), nullptr);
  WriteWholeFile(std::wstring(RecoveryFolder()) + L"\\" + stem + L".twr",
                 Utf16File(L"<Tapewright recovery: " + original + L">\r\n" + text));
}

// Yes and No on a left-over copy are the GUI kill case's.
TEST_F(Recovery, ARunningProgramsCopyIsLeftAlone) {
  LeaveCopy(L"3-0000000000000003", gFolder + L"\\other.txt", L"still typing there");
  HANDLE lock = CreateFileW((Folder() + L"\\3-0000000000000003.lck").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(RecoveryOfferLeftover(gMainWindow));
  EXPECT_TRUE(gAsked.empty()) << "the other program's copy is not offered while it runs";
  CloseHandle(lock);
  DeleteFileW((Folder() + L"\\3-0000000000000003.twr").c_str());
}

TEST_F(Recovery, AFolderThatCannotBeWrittenIsReportedOnce) {
  std::wstring saved = RecoveryFolder();
  std::wstring blocked = gFolder + L"\\blocked";
  WriteWholeFile(blocked, {'x'});  // a file where the folder would be
  RecoveryStart(blocked.c_str());
  DispatchPending();  // what earlier writes reported
  StatusBarSetHelpText(L"");
  Type(L"typing on");
  RecoveryWriteIfChanged(gMainWindow);
  DispatchPending();
  EXPECT_NE(std::wstring(gStatusBar.helpText).find(L"recovery copy could not be written"), std::wstring::npos)
      << gStatusBar.helpText;
  StatusBarSetHelpText(L"");
  Type(L" and on");
  RecoveryWriteIfChanged(gMainWindow);
  DispatchPending();
  EXPECT_STREQ(gStatusBar.helpText, L"") << "once";
  EXPECT_EQ(EditorText(), L"typing on and on");
  EXPECT_TRUE(gAsked.empty());
  RecoveryStart(saved.substr(0, saved.rfind(L'\\')).c_str());
}

std::wstring gExportName;
DWORD gExportType = 1;
int ChooseExport(HWND, wchar_t* path, size_t capacity, DWORD* type) {
  if (gExportName.size() >= capacity) return 0;
  wcscpy(path, gExportName.c_str());
  *type = gExportType;
  return 1;
}

TEST_F(Recovery, ExportCuesWritesTheChosenTypeWithTheOffset) {
  gCueFileDialog = ChooseExport;
  Type(L"before\r\n<Sound Cue: 00:10>\r\nafter");
  WriteInt(Settings(), kSettingOffset.section, kSettingOffset.name, static_cast<uint32_t>(-4));
  gExportName = gFolder + L"\\cues";
  gExportType = 2;
  ASSERT_TRUE(DocumentExportCues(gMainWindow));
  // The bytes are the cue export test's; the dialog adds the type's extension and the stored offset.
  std::vector<uint8_t> bytes = ReadWholeFile(gExportName + L".vtt");
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("WEBVTT\r\n\r\n00:00:00.000 --> 00:00:06.000"), std::string::npos);
  // The name's own extension wins over the type chosen.
  gExportName = gFolder + L"\\cues.TSV";
  gExportType = 1;
  ASSERT_TRUE(DocumentExportCues(gMainWindow));
  bytes = ReadWholeFile(gExportName);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "\xEF\xBB\xBFStart");
  DeleteKey(Settings(), kSettingOffset.section, kSettingOffset.name);
}

}  // namespace
