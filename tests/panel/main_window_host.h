// The real main window hosted in a test program: settings redirected into a
// private temporary folder, the player's texts in English and its message
// boxes answered by the test.
#pragma once
#include <windows.h>

#include <string>

// A new empty folder under the temporary folder, named prefix + a tick count.
std::wstring MakeTestFolder(const wchar_t* prefix);
// Creates the application record and the main window with the settings in
// folder; messageBox answers the player's message boxes.
void HostMainWindow(const std::wstring& folder, int (*messageBox)(HWND, const wchar_t*, const wchar_t*, UINT));
// Destroys the main window without the save prompt.
void CloseMainWindow();
// The editor's whole text.
std::wstring EditorText();
