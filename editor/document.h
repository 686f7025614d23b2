// The transcript document: New, Open, Save, Save as, dropped files, the save
// prompt that guards every action that would lose text, and the window title.
// The edit control's text is the document and its modification flag is the
// document's dirty flag.
#pragma once
#include <windows.h>
#include <shellapi.h>


// A new window's document: unnamed and empty (the record outlives windows).
void DocumentStart();
void DocumentNew(HWND owner);
void DocumentOpen(HWND owner);
// Both return 1 on success, 0 on failure or cancel.
int DocumentSave(HWND owner);
int DocumentSaveAs(HWND owner);
// Opens the first dropped item that is not a folder: a recording (a file the
// player claims) in the player, anything else as the transcript. Always
// finishes the drop.
void DocumentOpenDropped(HDROP drop);
// Opens a transcript by its full path after the save prompt. Non-zero when it
// was read; a file that cannot be read leaves a new empty document.
int DocumentOpenFile(HWND owner, const wchar_t* path);

// A recovered text as a modified document with its original path (empty: unnamed).
void DocumentRestore(HWND owner, const wchar_t* originalPath, const wchar_t* text);

// True when it is all right to discard the document.
int QueryCloseDocument(HWND owner);
// IDYES, IDNO or IDCANCEL.
int ConfirmSaveChanges(HWND owner, const wchar_t* path);
void UpdateWindowTitle(HWND owner);
// The current transcript's full path; empty for an unsaved new document.
const wchar_t* DocumentPath();
// 0 or a system error code (already shown to the user).
DWORD LoadTextFile(HWND owner, const wchar_t* path);
DWORD SaveTextFile(HWND owner, const wchar_t* path);

// The prompt's text and the window title, built as the user sees them.
void BuildSaveChangesText(const wchar_t* question, const wchar_t* path, const wchar_t* untitled, wchar_t* out,
                          size_t capacity);
void BuildWindowTitle(const wchar_t* productName, const wchar_t* path, const wchar_t* untitled, wchar_t* out,
                      size_t capacity);
