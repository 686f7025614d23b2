// Help > Help and Go Online: the help file in the interface language, and the
// product's page on the maker's web site.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Opens a file or web address with the shell (the default verb, shown
// normally): ShellExecuteExW unless a test replaces the routine.
extern int (*gShellOpen)(HWND owner, const wchar_t* target);

enum HelpKind { kHelpNone, kHelpChm, kHelpHlp, kHelpHtm };

// The help file for the interface language: for each kind (CHM, HLP, HTM) the
// name in that language, then in US English, the first that exists. The name
// is the program's folder, the first five characters of its file name, "_",
// the code, "." and the kind. Returns the kind found, kHelpNone without one.
HelpKind FindHelpFile(const wchar_t* programFile, const char* languageCode, wchar_t* path, size_t capacity);
// Command 191. options are the Opt bits: with "always on top" the help window
// belongs to the main window, else it comes to the front on its own.
void OpenHelp(HWND owner, const char* languageCode, uint32_t options);

// site/code/e.htm, or d.htm for a German system.
void ProductPageAddress(int germanSystem, wchar_t* address, size_t capacity);
// Command 193.
void OpenProductPage(HWND owner);
