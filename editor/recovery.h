// The recovery copy: while the transcript has unsaved changes, a copy of it is
// written now and then (and at every pause of the player) to a folder beside
// the settings file, so that a crash, a kill or a power cut loses at most the
// last interval of typing. The text is taken on the user-interface thread and
// written on a thread of its own. Every running program has its own copy,
// guarded by a lock file that the system removes when the program ends in any
// way; a copy whose lock is gone is left over from a run that did not end
// properly, and the next start offers it.
#pragma once
#include <windows.h>

#include <cstdint>

// Posted to the main window when a write has ended: wParam 0 or the error.
constexpr UINT kRecoveryWrittenMessage = WM_APP + 40;

// Where the copies live: the folder "Recovery" in settingsFolder.
void RecoveryStart(const wchar_t* settingsFolder);
// The editor's text changed: the next write is due.
void RecoveryTextChanged();
// Writes a copy when the text changed since the last one and is unsaved;
// does nothing while a write is still going on. owner gets the message above.
void RecoveryWriteIfChanged(HWND owner);
// The text was saved or given up: waits for a write in progress and removes
// the program's copy.
void RecoveryDiscard();
// At the end of the program: the copy and the lock go.
void RecoveryStop();
// A written copy's outcome: the first failure of a run is shown in the status
// bar for a while (a message box would take the keys the typist is typing).
void RecoveryOnWritten(HWND owner, DWORD error);

// At start: a copy left over from a run that did not end properly, the newest
// one, taken over as this program's own copy. Asks the user (the original
// file's name and the copy's time); Yes opens it as a modified document with
// its original path, No moves it aside under its name and date. Returns
// non-zero when a document was restored.
int RecoveryOfferLeftover(HWND owner);

// Test hooks: the folder in use, and the file names of this run's copy and lock.
const wchar_t* RecoveryFolder();
const wchar_t* RecoveryCopyPath();
