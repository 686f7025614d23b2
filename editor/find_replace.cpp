// The Find and Replace dialogs and what their buttons do to the edit control.
#include "editor/find_replace.h"

#include <cstdlib>
#include <cwchar>

#include "base/text_limits.h"
#include "settings/settings_store.h"

FindState gFind;

namespace {

// The edit control's text and selection, read once per action.
struct EditText {
  wchar_t* text;
  size_t length;
  size_t start, end;
};

int ReadEditText(HWND editor, EditText* out) {
  *out = EditText{};
  int length = GetWindowTextLengthW(editor);
  if (length < 0) return 0;
  out->text = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
  if (!out->text) return 0;
  out->length = static_cast<size_t>(GetWindowTextW(editor, out->text, length + 1));
  out->text[out->length] = 0;
  DWORD start = 0, end = 0;
  SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  out->start = start < out->length ? start : out->length;
  out->end = end < out->length ? end : out->length;
  if (out->end < out->start) out->end = out->start;
  return 1;
}

void Select(HWND editor, size_t start, size_t end) {
  SendMessageW(editor, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageW(editor, EM_SCROLLCARET, 0, 0);
}

void NotFound() { MessageBeep(MB_ICONHAND); }

// The options the dialog shows. The Replace dialog has no direction buttons:
// it leaves the direction as it was.
uint32_t ShownOptions(const FINDREPLACEW* request) {
  uint32_t options = request->Flags & kFindOptionBits;
  if (request->lpstrReplaceWith) options = (options & ~kFindDown) | (gFind.current & kFindDown);
  return options;
}

void SeedFromSelection(HWND editor, wchar_t* findWhat) {
  EditText edit;
  if (!ReadEditText(editor, &edit)) return;
  SeedFindText(edit.text + edit.start, edit.end - edit.start, findWhat);
  free(edit.text);
}

}  // namespace

void FindReplaceStart() {
  gFind = FindState{};
  gFind.message = RegisterWindowMessageW(L"commdlg_FindReplace");
  gFind.options = ReadSetting(Settings(), kSettingOptFind);
}

void FindReplaceSaveOptions() {
  if (gFind.dialog) gFind.options = gFind.current;
  WriteSetting(Settings(), kSettingOptFind, gFind.options);
}

int EditorFind(HWND editor, const wchar_t* what, uint32_t flags, int fromSelectionStart) {
  EditText edit;
  if (!ReadEditText(editor, &edit)) return 0;
  size_t at = 0;
  int found = FindInText(edit.text, edit.length, edit.start, edit.end, what, flags, fromSelectionStart, &at);
  free(edit.text);
  if (found) Select(editor, at, at + wcslen(what));
  return found;
}

int EditorReplace(HWND editor, const wchar_t* what, const wchar_t* with, uint32_t flags) {
  EditText edit;
  if (!ReadEditText(editor, &edit)) return 0;
  wchar_t seeded[kFindTextChars];
  CopyTextBounded(seeded, kFindTextChars, what);
  // An empty selection seeds nothing and so is never the search text.
  int selected = SeedFindText(edit.text + edit.start, edit.end - edit.start, seeded) &&
                 SameTextIgnoringCase(seeded, what);
  size_t at = 0;
  int found = FindInText(edit.text, edit.length, edit.start, edit.end, what, flags, selected, &at);
  size_t selectionStart = edit.start;
  free(edit.text);
  if (!found) return 0;
  Select(editor, at, at + wcslen(what));
  // Only the text the user sees selected is replaced: a match the search
  // finds further on is shown first.
  if (!selected || at != selectionStart) return 1;
  SendMessageW(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(with ? with : L""));
  EditorFind(editor, what, flags, 0);
  return 1;
}

size_t EditorReplaceAll(HWND editor, const wchar_t* what, const wchar_t* with, uint32_t flags) {
  SendMessageW(editor, EM_SETSEL, 0, 0);
  EditText edit;
  if (!ReadEditText(editor, &edit)) return 0;
  ReplaceAllResult result;
  int made = ReplaceAllInText(edit.text, edit.length, what, with, flags | kFindDown, &result);
  free(edit.text);
  if (!made) return 0;
  // One replacement of the whole text instead of one per match: a long
  // transcript with many matches is done at once.
  if (result.count) {
    SendMessageW(editor, EM_SETSEL, 0, -1);
    SendMessageW(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(result.text));
    Select(editor, result.caret, result.caret);
  }
  free(result.text);
  return result.count;
}

void FindOpenDialog(HWND owner, HWND editor, int replace) {
  if (gFind.dialog) return;
  if (!gFind.findWhat[0]) SeedFromSelection(editor, gFind.findWhat);
  FINDREPLACEW& request = gFind.request;
  request = FINDREPLACEW{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  gFind.current = gFind.options & kFindOptionBits;
  request.Flags = gFind.current;
  request.lpstrFindWhat = gFind.findWhat;
  request.wFindWhatLen = kFindTextChars - 1;
  if (replace) {
    request.lpstrReplaceWith = gFind.replaceWith;
    request.wReplaceWithLen = kFindTextChars - 1;
  }
  gFind.dialog = replace ? ReplaceTextW(&request) : FindTextW(&request);
}

void FindNext(HWND owner, HWND editor) {
  if (gFind.findWhat[0]) {
    if (!EditorFind(editor, gFind.findWhat, gFind.current, 0)) NotFound();
  } else if (!gFind.dialog) {
    FindOpenDialog(owner, editor, 0);
  }
}

void FindOnDialogMessage(HWND editor, const FINDREPLACEW* request) {
  // The dialog's record is not to be read once it is gone: keep what it shows.
  gFind.current = ShownOptions(request);
  // Replace, Replace All and the Replace dialog's Find Next go downwards.
  uint32_t options = request->lpstrReplaceWith ? gFind.current | kFindDown : gFind.current;
  const wchar_t* what = request->lpstrFindWhat;
  if (request->Flags & FR_DIALOGTERM) {
    gFind.options = gFind.current;
    gFind.dialog = nullptr;
  } else if (request->Flags & FR_FINDNEXT) {
    if (!EditorFind(editor, what, options, 0)) NotFound();
  } else if (request->Flags & FR_REPLACE) {
    if (!EditorReplace(editor, what, request->lpstrReplaceWith, options)) NotFound();
  } else if (request->Flags & FR_REPLACEALL) {
    EditorReplaceAll(editor, what, request->lpstrReplaceWith, options);
    gFind.options = gFind.current;
    if (gFind.dialog) DestroyWindow(gFind.dialog);
    gFind.dialog = nullptr;
  }
}
