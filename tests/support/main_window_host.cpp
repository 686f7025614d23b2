#include "main_window_host.h"

#include <cstdlib>
#include <cwchar>

#include <shlobj.h>
#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "ui/message_box.h"

std::wstring MakeTestFolder(const wchar_t* prefix) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + prefix + std::to_wstring(GetTickCount64());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

namespace {

// A test never waits for a user: questions are answered "No".
int AnswerNo(HWND, const wchar_t*, const wchar_t*, UINT) { return IDNO; }

}  // namespace

void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void HostMainWindow(const std::wstring& folder, int (*messageBox)(HWND, const wchar_t*, const wchar_t*, UINT),
                    const char* language) {
  SettingsRedirectFolders((folder + L"\\Tapewright.exe").c_str(), (folder + L"\\appdata").c_str());
  LocateSettingsFile(Settings());
  WriteString(Settings(), kSettingLanguage.section, kSettingLanguage.name, language);
  gMessageBoxRoutine = messageBox ? messageBox : AnswerNo;
  gApp = static_cast<AppState*>(calloc(1, sizeof(AppState)));
  gMainWindow = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
  DispatchPending();
}

void CloseMainWindow() {
  if (gMainWindow) {
    SendMessageW(EditorWindow(), EM_SETMODIFY, FALSE, 0);
    DestroyWindow(gMainWindow);
  }
  DispatchPending();
}

void RunRestartedWindow() {
  DispatchPending();
  ResetSuppression(Settings());
  *gApp = AppState{};
  gMainWindow = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
  DispatchPending();
}

std::wstring EditorText() {
  HWND editor = EditorWindow();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(editor)), L'\0');
  GetWindowTextW(editor, text.data(), static_cast<int>(text.size() + 1));
  return text;
}

std::vector<uint8_t> Utf16File(const std::wstring& text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  return bytes;
}

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  size_t characters = 1;
  for (const auto& path : paths) characters += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* head = static_cast<DROPFILES*>(GlobalLock(memory));
  head->pFiles = sizeof(DROPFILES);
  head->fWide = TRUE;
  auto* list = reinterpret_cast<wchar_t*>(head + 1);
  for (const auto& path : paths) {
    wmemcpy(list, path.c_str(), path.size() + 1);
    list += path.size() + 1;
  }
  *list = 0;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::vector<std::wstring> gAsked;
std::deque<int> gAnswers;
int gAnswer = IDNO;
std::wstring HostedWindowTest::gFolder;

namespace {

int RecordAndAnswer(HWND, const wchar_t* text, const wchar_t*, UINT) {
  gAsked.push_back(text);
  if (gAnswers.empty()) return gAnswer;
  int answer = gAnswers.front();
  gAnswers.pop_front();
  return answer;
}

}  // namespace

void HostedWindowTest::SetUpTestSuite() {
  static int suites = 0;
  gFolder = MakeTestFolder((L"tpwr-hosted-" + std::to_wstring(++suites) + L"-").c_str());
  HostMainWindow(gFolder, RecordAndAnswer);
}

void HostedWindowTest::SetUp() {
  ASSERT_NE(gMainWindow, nullptr);
  SendMessageW(EditorWindow(), EM_SETMODIFY, FALSE, 0);
  DocumentNew(gMainWindow);
  gAsked.clear();
  gAnswers.clear();
  gAnswer = IDNO;
}
