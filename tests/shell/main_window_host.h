// The real main window hosted in a test program, with its settings
// redirected into a private temporary folder.
#pragma once
#include <windows.h>

#include <string>

// A new empty folder under the temporary folder, named prefix + a tick count.
std::wstring MakeTestFolder(const wchar_t* prefix);
// Creates the application record and the main window with the settings in
// folder; messageBox, when given, answers the player's message boxes, which
// are then in English.
void HostMainWindow(const std::wstring& folder, int (*messageBox)(HWND, const wchar_t*, const wchar_t*, UINT));
// Destroys the main window without the save prompt.
void CloseMainWindow();
// The editor's whole text.
std::wstring EditorText();
