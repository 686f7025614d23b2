// Find and Replace: the modeless common dialogs, the message they send to
// their owner, Find Next, and the options kept in the OptFind setting. The
// search itself is find_search's; these work on an edit control.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "editor/find_search.h"

struct FindState {
  HWND dialog;           // the open Find or Replace dialog, else null
  UINT message;          // "commdlg_FindReplace"
  uint32_t options;      // OptFind: the option bits a dialog starts with
  uint32_t current;      // the option bits in use: the open dialog's, else the last one's
  wchar_t findWhat[kFindTextChars];
  wchar_t replaceWith[kFindTextChars];
  FINDREPLACEW request;  // the open dialog's record
};
extern FindState gFind;

// Start of a run: the registered message and the stored options.
void FindReplaceStart();
// Stores the options; those of a dialog still open count.
void FindReplaceSaveOptions();

// Opens the Find (or Replace) dialog over owner unless one is open; an empty
// search text is first taken from the editor's selection.
void FindOpenDialog(HWND owner, HWND editor, int replace);
// Searches again with the last text and options; without a text it opens Find.
void FindNext(HWND owner, HWND editor);
// The dialog's message (lParam of "commdlg_FindReplace").
void FindOnDialogMessage(HWND editor, const FINDREPLACEW* request);

// On an edit control, with the dialog's texts and options given. Each
// returns non-zero when it found (and replaced) something.
//
// Selects the next match and scrolls it into view; the selection stays when
// there is none.
int EditorFind(HWND editor, const wchar_t* what, uint32_t flags, int fromSelectionStart);
// The Replace button: a selection that is the search text (in any case) is
// replaced when the search, starting at it, finds it there; then the next
// match is selected. Any other selection only moves on to the next match.
// Returns 0 when nothing was replaced and no next match exists.
int EditorReplace(HWND editor, const wchar_t* what, const wchar_t* with, uint32_t flags);
// Replace All from the top, whatever the caret; the caret ends behind the last
// replacement. Returns the number of replacements.
size_t EditorReplaceAll(HWND editor, const wchar_t* what, const wchar_t* with, uint32_t flags);
