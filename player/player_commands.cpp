// User-interface side of the player.
#include "player/player_commands.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "base/paths.h"
#include "base/text_limits.h"
#include "language/language.h"
#include "player/module_table.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "player/player_thread.h"
#include "ui/message_box.h"

namespace {

constexpr DWORD kStartWaitMs = 1000;

void ShowOpenFailure(HWND owner, const wchar_t* path) {
  wchar_t text[256];
  GetText(kTextCannotOpenAudio, text, 256);
  ShowError(owner, text, FileNamePart(path));
}

// The events live as long as the process: a thread started later uses them again.
int SignalsReady() {
  if (!gPlayerSignals.ready) gPlayerSignals.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!gPlayerSignals.openDone) gPlayerSignals.openDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return gPlayerSignals.ready && gPlayerSignals.openDone;
}

}  // namespace

DWORD gPlayerOpenWaitMs = 30000;

int PlayerPostCommand(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gPlayerThread) return 0;
  return PostThreadMessageW(gPlayerThreadId, message, wParam, lParam) != 0;
}

int PlayerStart() {
  if (!gPlayerThread) {
    if (!SignalsReady()) return 0;
    ResetEvent(gPlayerSignals.ready);
    DWORD id = 0;
    // Suspended until handle and id are stored: the thread clears the handle when it ends.
    HANDLE thread = CreateThread(nullptr, 0, PlayerThreadMain, nullptr, CREATE_SUSPENDED, &id);
    if (!thread) return 0;
    gPlayerThreadId = id;
    gPlayerThread = thread;
    ResumeThread(thread);
    WaitForSingleObject(gPlayerSignals.ready, kStartWaitMs);
  }
  return gPlayerThread && gPlayerState;
}

int PlayerFindModule(HWND owner, const wchar_t* path) {
  if (!PlayerStart()) return 0;
  PlayerState* state = gPlayerState;
  return state ? ModuleLookup(&state->modules, owner, path) : 0;
}

int PlayerClaimsFile(HWND owner, const wchar_t* path) {
  if (!PlayerStart()) return 0;
  PlayerState* state = gPlayerState;
  return state ? ModuleClaims(&state->modules, owner, path) : 0;
}

int PlayerOpenCommand(int slot, const wchar_t* path) {
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return 0;
  if (!PlayerStart()) return 0;
  // The player owns this copy: the wait below may give up before it reads it.
  size_t length = wcsnlen(path, kMaxPathChars);
  wchar_t* copy = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
  if (!copy) return 0;
  wmemcpy(copy, path, length);
  copy[length] = 0;
  ResetEvent(gPlayerSignals.openDone);
  gPlayerSignals.openResult = 0;
  if (!PlayerPostCommand(PC_OPEN, WPARAM(INT_PTR(slot)), reinterpret_cast<LPARAM>(copy))) {
    free(copy);
    return 0;
  }
  if (WaitForSingleObject(gPlayerSignals.openDone, gPlayerOpenWaitMs) != WAIT_OBJECT_0) return 0;
  return gPlayerSignals.openResult > 0;
}

int PlayerOpenAudioFile(HWND owner, const wchar_t* path) {
  int slot = ExtensionShortcutSlot(path);
  if (!PlayerFindModule(owner, path)) {
    ShowOpenFailure(owner, path);
    return 0;
  }
  // The panel's own Stop also releases its Pause button.
  if (PlayerPanelOf(owner))
    PlayerPanelStop(owner);
  else
    PlayerPostCommand(PC_STOP, 0, 0);
  if (owner && gPlayerThread) {
    PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(owner));
    PlayerPostCommand(PC_SETSCALE, 0, 100);
  }
  if (!PlayerOpenCommand(slot, path)) {
    ShowOpenFailure(owner, path);
    return 0;
  }
  if (PlayerPanelOf(owner)) {
    PlayerPostCommand(PC_GETINFO, 0, 0);
    PlayerPanelRefreshTime(owner);
  }
  return 1;
}
