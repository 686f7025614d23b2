// Document commands over the edit control and the transcript file format.
#include "document.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/paths.h"
#include "base/product.h"
#include "base/text_builder.h"
#include "base/text_limits.h"
#include "commands/commands.h"
#include "editor/editor_view.h"
#include "editor/recovery.h"
#include "editor/text_file.h"
#include "language/language.h"
#include "player/player_commands.h"
#include "player/player_panel.h"
#include "ui/message_box.h"

namespace {

constexpr wchar_t kTextFilter[] = L"Text (*.txt)\0*.txt\0*.*\0*.*\0";
constexpr size_t kDialogPathChars = 1024;


// The document's file and the title shown for it.
struct Document {
  wchar_t path[kMaxPathChars + 1];  // empty for an unsaved new document
  wchar_t windowTitle[kMaxPathChars];
  // A file that was not read exactly as stored: saving over it asks first.
  wchar_t inexactPath[kMaxPathChars + 1];
};
Document gDocument;

HWND Editor() { return EditorWindow(); }
// Commands go through the main window, so that a greyed one is dropped there.
HWND MainWindow() { return GetParent(Editor()); }
int IsModified() { return SendMessageW(Editor(), EM_GETMODIFY, 0, 0) != 0; }
void SetModified(BOOL modified) { SendMessageW(Editor(), EM_SETMODIFY, modified, 0); }

// The warning after a file was read with problems: what differs, then the path.
void WarnNotReadExactly(HWND owner, uint32_t problems, const wchar_t* path) {
  static constexpr struct {
    uint32_t problem;
    uint16_t text;
  } kProblemTexts[] = {{kTextProblemNul, kTextHasNuls}, {kTextProblemInvalidUtf8, kTextInvalidUtf8},
                       {kTextProblemOddByte, kTextOddByte}};
  wchar_t message[kMaxPathChars + 1200];
  TextBuilder builder;
  TextBuilderStart(&builder, message, sizeof message / sizeof message[0]);
  wchar_t line[300];
  GetText(kTextNotReadExactly, line, 300);
  TextAppend(&builder, line);
  for (const auto& entry : kProblemTexts) {
    if (!(problems & entry.problem)) continue;
    GetText(entry.text, line, 300);
    TextAppend(&builder, L"\r\n");
    TextAppend(&builder, line);
  }
  TextAppend(&builder, L"\r\n\r\n");
  TextAppend(&builder, path);
  ShowMessage(owner, message, MB_ICONWARNING | MB_OK);
}

int IsInexactFile(const wchar_t* path) {
  return gDocument.inexactPath[0] && CompareStringOrdinal(path, -1, gDocument.inexactPath, -1, TRUE) == CSTR_EQUAL;
}

int ConfirmReplaceInexact(HWND owner) {
  wchar_t question[400];
  GetText(kTextReplaceNotExact, question, 400);
  return ShowMessage(owner, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// Abandons the operation (returns 0) when the prompt ends in Cancel.
int GuardModified(HWND owner) {
  return !IsModified() || ConfirmSaveChanges(owner, gDocument.path) != IDCANCEL;
}

void ClearDocument() {
  SetWindowTextW(Editor(), L"");
  gDocument.path[0] = 0;
  gDocument.inexactPath[0] = 0;
  SetModified(FALSE);
}

// File buffer for the dialogs: the current path without quotes, empty when it
// is too long for the dialogs to take.
void InitialDialogPath(wchar_t* buffer) {
  buffer[0] = 0;
  const wchar_t* path = gDocument.path;
  if (wcslen(path) >= MAX_PATH) return;
  size_t out = 0;
  for (const wchar_t* p = path; *p && out + 1 < kDialogPathChars; ++p)
    if (*p != L'"') buffer[out++] = *p;
  buffer[out] = 0;
}

void MakeAbsolute(const wchar_t* chosen, wchar_t* out) {
  if (wcspbrk(chosen, L"*?") || !GetFullPathNameW(chosen, kMaxPathChars + 1, out, nullptr))
    CopyTextBounded(out, kMaxPathChars + 1, chosen);
}

void LoadOrClear(HWND owner) {
  if (LoadTextFile(owner, gDocument.path) != 0) ClearDocument();
}

// What the open and save dialogs share: the owner, the filter and the file.
OPENFILENAMEW TextFileDialog(HWND owner, wchar_t* file) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kTextFilter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = kDialogPathChars;
  return dialog;
}

}  // namespace

void BuildSaveChangesText(const wchar_t* question, const wchar_t* path, const wchar_t* untitled, wchar_t* out,
                          size_t capacity) {
  wchar_t name[kMaxPathChars + 70];
  if (path[0]) {
    CopyTextBounded(name, sizeof name / sizeof name[0], FileNamePart(path));
  } else {
    wchar_t shortUntitled[63];
    CopyTextBounded(shortUntitled, 63, untitled);
    _snwprintf(name, sizeof name / sizeof name[0], L"(%ls)", shortUntitled);
    name[sizeof name / sizeof name[0] - 1] = 0;
  }
  size_t length = wcslen(question);
  const wchar_t* lineEnd = length >= 2 && wcscmp(question + length - 2, L"\r\n") == 0 ? L"" : L"\r\n";
  _snwprintf(out, capacity, L"%ls%ls\r\n%ls", question, lineEnd, name);
  out[capacity - 1] = 0;
}

void BuildWindowTitle(const wchar_t* productName, const wchar_t* path, const wchar_t* untitled, wchar_t* out,
                      size_t capacity) {
  const wchar_t* name = path[0] ? FileNamePart(path) : untitled;
  _snwprintf(out, capacity, L"%ls - %ls", productName, name);
  out[capacity - 1] = 0;
}

int ConfirmSaveChanges(HWND owner, const wchar_t* path) {
  wchar_t question[512], untitled[64], text[kMaxPathChars + 700];
  GetText(kTextFileChanged, question, 512);
  GetText(kTextUntitled, untitled, 64);
  BuildSaveChangesText(question, path, untitled, text, sizeof text / sizeof text[0]);
  int answer = ShowMessage(owner, text, MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDNO) return IDNO;
  if (answer != IDYES) return IDCANCEL;
  return SendMessageW(MainWindow(), WM_COMMAND, kCmdFileSave, 0) ? IDYES : IDCANCEL;
}

int QueryCloseDocument(HWND owner) { return GuardModified(owner); }

void UpdateWindowTitle(HWND owner) {
  wchar_t untitled[64], title[2048];
  GetText(kTextUntitled, untitled, 64);
  BuildWindowTitle(kProductName, gDocument.path, untitled, title, 2048);
  CopyTextBounded(gDocument.windowTitle, kMaxPathChars, title);
  SetWindowTextW(owner, title);
}

DWORD LoadTextFile(HWND owner, const wchar_t* path) {
  gDocument.inexactPath[0] = 0;
  TextBuffer buffer{};
  DWORD error = TextFileLoad(path, &buffer);
  if (error) {
    ShowFileError(owner, error, path);
    return error;
  }
  SetWindowTextW(Editor(), buffer.text);  // also resets the control's undo
  uint32_t problems = buffer.problems;
  TextBufferFree(&buffer);
  UpdateLineColumn(Editor());
  if (problems) {
    CopyTextBounded(gDocument.inexactPath, kMaxPathChars + 1, path);
    WarnNotReadExactly(owner, problems, path);
  }
  return 0;
}

DWORD SaveTextFile(HWND owner, const wchar_t* path) {
  if (IsInexactFile(path) && !ConfirmReplaceInexact(owner)) return ERROR_CANCELLED;
  int length = GetWindowTextLengthW(Editor());
  wchar_t* text = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
  if (!text) {
    ShowFileError(owner, ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  length = GetWindowTextW(Editor(), text, length + 1);
  TextSaveStage stage;
  DWORD error = TextFileSave(path, text, static_cast<size_t>(length), &stage);
  free(text);
  if (error) ShowFileError(owner, error, stage == kSaveWrite ? nullptr : path);
  else if (IsInexactFile(path)) gDocument.inexactPath[0] = 0;  // it now holds exactly the text shown
  return error;
}

void DocumentStart() { gDocument = Document{}; }

void DocumentNew(HWND owner) {
  if (!GuardModified(owner)) return;
  RecoveryDiscard();
  ClearDocument();
  UpdateWindowTitle(owner);
}

void DocumentOpen(HWND owner) {
  if (!GuardModified(owner)) return;
  wchar_t file[kDialogPathChars];
  InitialDialogPath(file);
  OPENFILENAMEW dialog = TextFileDialog(owner, file);
  dialog.lpstrTitle = gDocument.path[0] ? FileNamePart(gDocument.path) : L"";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameW(&dialog)) {
    RecoveryDiscard();
    MakeAbsolute(file, gDocument.path);
    SetModified(FALSE);
    LoadOrClear(owner);
  }
  UpdateWindowTitle(owner);
}

int DocumentSave(HWND owner) {
  if (!gDocument.path[0]) return SendMessageW(MainWindow(), WM_COMMAND, kCmdFileSaveAs, 0) != 0;
  if (SaveTextFile(owner, gDocument.path) != 0) return 0;
  SetModified(FALSE);
  RecoveryDiscard();
  return 1;
}

int DocumentSaveAs(HWND owner) {
  wchar_t file[kDialogPathChars];
  wchar_t folder[kDialogPathChars] = L"";
  InitialDialogPath(file);
  DWORD attributes = file[0] ? GetFileAttributesW(file) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CopyTextBounded(folder, kDialogPathChars, file);
    file[0] = 0;
  }
  OPENFILENAMEW dialog = TextFileDialog(owner, file);
  dialog.lpstrInitialDir = folder[0] ? folder : nullptr;
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return 0;
  MakeAbsolute(file, gDocument.path);
  UpdateWindowTitle(owner);  // before the save: a failed save keeps the new name
  if (SaveTextFile(owner, gDocument.path) != 0) return 0;
  SetModified(FALSE);
  RecoveryDiscard();
  return 1;
}

void DocumentOpenDropped(HDROP drop) {
  HWND owner = MainWindow();
  wchar_t path[kMaxPathChars + 1];
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  int found = 0;
  for (UINT i = 0; i < count && !found; ++i) {
    if (DragQueryFileW(drop, i, path, kMaxPathChars + 1) == 0) continue;
    DWORD attributes = GetFileAttributesW(path);
    found = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  DragFinish(drop);
  if (!found) return;
  // A recording goes to the player: loaded as text, a save would overwrite it.
  HWND panel = PlayerPanelWindow();
  if (PlayerClaimsFile(panel, path))
    PlayerPanelOpenFile(panel, path);
  else
    DocumentOpenFile(owner, path);
}

const wchar_t* DocumentPath() { return gDocument.path; }

int DocumentOpenFile(HWND owner, const wchar_t* path) {
  if (!GuardModified(owner)) return 0;
  RecoveryDiscard();
  CopyTextBounded(gDocument.path, kMaxPathChars + 1, path);
  SetModified(FALSE);
  int loaded = LoadTextFile(owner, gDocument.path) == 0;
  if (!loaded) ClearDocument();
  UpdateWindowTitle(owner);
  return loaded;
}

void DocumentRestore(HWND owner, const wchar_t* originalPath, const wchar_t* text) {
  SetWindowTextW(Editor(), text);
  CopyTextBounded(gDocument.path, kMaxPathChars + 1, originalPath);
  gDocument.inexactPath[0] = 0;
  SetModified(TRUE);
  UpdateLineColumn(Editor());
  UpdateWindowTitle(owner);
}
