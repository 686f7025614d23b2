// Options > Backup, Restore and Reset Settings on the hosted main window: the
// backup holds what is not yet saved, restore and reset restart the window
// with the new file's values (and defaults for what it lacks), the closing
// window writes none of its old values back. (The transcript kept through the
// restart is the restart test's and the GUI reset case's.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/settings_commands.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "main_window_host.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "test_support.h"

namespace {

std::wstring gChosen;  // what the file dialog returns; empty: Cancel

int ChooseFile(HWND, int, wchar_t* path, size_t capacity) {
  if (gChosen.empty() || gChosen.size() >= capacity) return 0;
  wcscpy(path, gChosen.c_str());
  return 1;
}

std::string Bytes(const std::wstring& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

uint32_t StepBack() { return ReadInt(Settings(), kSettingStepBack.section, kSettingStepBack.name, 5); }
uint32_t StepForward() { return ReadInt(Settings(), kSettingStepForward.section, kSettingStepForward.name, 5); }

class SettingsCommands : public HostedWindowTest {
 protected:
  static void SetUpTestSuite() {
    HostedWindowTest::SetUpTestSuite();
    gSettingsFileDialog = ChooseFile;
  }
  void SetUp() override {
    HostedWindowTest::SetUp();
    gChosen.clear();
  }
  static std::wstring Path(const wchar_t* name) { return gFolder + L"\\" + name; }
  // A transcript with an unsaved change, its caret on the second line.
  static std::wstring OpenChangedTranscript(const wchar_t* name) {
    std::wstring path = Path(name);
    WriteWholeFile(path, {'a', '\r', '\n', 'b'});
    EXPECT_TRUE(DocumentOpenFile(gMainWindow, path.c_str()));
    SendMessageW(EditorWindow(), EM_SETSEL, 4, 4);
    SendMessageW(EditorWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"!"));
    return path;
  }
  // The settings file as the closed window left it, then the new window.
  static std::string RestartAndReadFile() {
    EXPECT_FALSE(IsWindow(gMainWindow));
    DispatchPending();
    Flush(Settings());  // whatever the closing window left in the store would land now
    std::string left = Bytes(Settings()->path);
    RunRestartedWindow();
    EXPECT_NE(gMainWindow, nullptr);
    return left;
  }
};

TEST_F(SettingsCommands, BackupHoldsUnsavedValuesAndNeverOverwritesTheSettingsFile) {
  ASSERT_TRUE(WriteInt(Settings(), kSettingStepBack.section, kSettingStepBack.name, 9));
  gChosen = Path(L"backup.ini");
  EXPECT_TRUE(BackupSettings(gMainWindow, Settings()));
  EXPECT_NE(Bytes(gChosen).find("StepBak=9"), std::string::npos);

  // Someone else's copy at the same name is replaced, as the dialog asked.
  WriteInt(Settings(), kSettingStepBack.section, kSettingStepBack.name, 8);
  EXPECT_TRUE(BackupSettings(gMainWindow, Settings()));
  EXPECT_NE(Bytes(gChosen).find("StepBak=8"), std::string::npos);

  std::string before = Bytes(Settings()->path);
  std::wstring itself = Settings()->path;
  for (wchar_t& c : itself) c = c == L'\\' ? L'/' : static_cast<wchar_t>(towupper(c));
  gChosen = itself;
  EXPECT_FALSE(BackupSettings(gMainWindow, Settings()));
  EXPECT_EQ(Bytes(Settings()->path), before);
  gChosen.clear();
  EXPECT_FALSE(BackupSettings(gMainWindow, Settings())) << "Cancel";
  EXPECT_TRUE(gAsked.empty());
}

TEST_F(SettingsCommands, RestoreTakesTheFileAndDefaultsForWhatItLacks) {
  WriteInt(Settings(), kSettingStepBack.section, kSettingStepBack.name, 9);
  ASSERT_EQ(Flush(Settings()), 0u);
  gChosen = Path(L"restore.ini");
  std::string restored = "[Player]\r\nStepFwd=7\r\n";
  WriteWholeFile(gChosen, std::vector<uint8_t>(restored.begin(), restored.end()));
  OpenChangedTranscript(L"restore.txt");

  gAnswers = {IDCANCEL};
  EXPECT_FALSE(RestoreSettings(gMainWindow, Settings())) << "Cancel in the save prompt";
  EXPECT_TRUE(IsWindow(gMainWindow));
  EXPECT_EQ(StepBack(), 9u);

  gAnswers = {IDYES};
  ASSERT_TRUE(RestoreSettings(gMainWindow, Settings()));
  EXPECT_EQ(RestartAndReadFile(), restored) << "the closing window wrote nothing back";
  EXPECT_EQ(StepBack(), 5u);
  EXPECT_EQ(StepForward(), 7u);
}

// Yes, with the defaults and no old value written back, is the GUI reset case's.
TEST_F(SettingsCommands, ResetAsksAndCancelKeepsTheFile) {
  WriteInt(Settings(), kSettingStepBack.section, kSettingStepBack.name, 9);
  ASSERT_EQ(Flush(Settings()), 0u);
  std::string before = Bytes(Settings()->path);
  OpenChangedTranscript(L"reset.txt");

  gAnswers = {IDNO};
  EXPECT_FALSE(ResetSettings(gMainWindow, Settings()));
  EXPECT_EQ(gAsked.size(), 1u);
  gAnswers = {IDYES, IDCANCEL};
  EXPECT_FALSE(ResetSettings(gMainWindow, Settings())) << "Cancel in the save prompt";
  EXPECT_TRUE(IsWindow(gMainWindow));
  EXPECT_EQ(Bytes(Settings()->path), before);
}

}  // namespace
