// Help > Check for Updates: the maker's product list is downloaded on a thread
// of its own and the line of this product compared with the running version.
#pragma once
#include <windows.h>

#include <cstddef>

// The versions as numbers, part by part ("26.9" < "26.10" < "26.11"); a part's
// letters after its digits compare without regard to case. <0, 0 or >0.
int CompareVersions(const char* a, const char* b);

// The line of the product in a product list: the code, directly the version,
// one blank, the title. Lines are ANSI text of at most 64 bytes. Non-zero when
// the line is there and well formed.
int FindProductLine(const char* list, size_t size, const char* code, char* version, size_t versionCapacity,
                    wchar_t* title, size_t titleCapacity);

// What a check found, and the text it shows the user.
enum UpdateResult { kUpdateAvailable, kUpToDate, kUpdateUnknown, kDownloadFailed };

// The whole check, in the calling thread: download site + "/products.txt" to a
// temporary file of its own, compare, show the answer (owned by owner), delete
// the file.
UpdateResult RunUpdateCheck(HWND owner, const wchar_t* site, const char* code, const char* runningVersion);
// Command 194: the same on a thread of its own; returns at once.
void CheckForUpdates(HWND owner);
