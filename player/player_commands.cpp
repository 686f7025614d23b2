// User-interface side of the player.
#include "player_commands.h"

#include <cstdint>

#include "player/module_table.h"
#include "player/player_messages.h"
#include "player/player_texts.h"
#include "player/player_thread.h"

#include "base/paths.h"

namespace {

constexpr int kStartPolls = 100;   // x 10 ms
constexpr int kOpenPolls = 1000;   // x 30 ms

void PostStop(HWND) { PlayerPostCommand(PC_STOP, 0, 0); }

// The panel keeps its record as the window's user data.
int WindowHasUserData(HWND owner) { return owner && GetWindowLongPtrW(owner, GWLP_USERDATA) != 0; }

void RefreshNothing(HWND) {}


void ShowOpenFailure(HWND owner, const wchar_t* path) {
  PlayerShowError(owner, kTextCannotOpenAudioFile, FileNamePart(path));
}

int8_t OpenResult() { return static_cast<int8_t>(gPlayerFlag); }

}  // namespace

PlayerPanelCalls gPlayerPanelCalls = {PostStop, WindowHasUserData, RefreshNothing};

int PlayerPostCommand(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gPlayerThread) return 0;
  return PostThreadMessageW(gPlayerThreadId, message, wParam, lParam) != 0;
}

int PlayerStart() {
  if (!gPlayerThread) {
    gPlayerFlag = 0;
    DWORD id = 0;
    // Suspended until handle and id are stored: the thread clears the handle when it ends.
    HANDLE thread = CreateThread(nullptr, 0, PlayerThreadMain, nullptr, CREATE_SUSPENDED, &id);
    if (!thread) return 0;
    gPlayerThreadId = id;
    gPlayerThread = thread;
    ResumeThread(thread);
    for (int poll = 0; poll < kStartPolls && !gPlayerFlag; ++poll) Sleep(10);
  }
  return gPlayerThread && gPlayerState;
}

int PlayerFindModule(HWND owner, const wchar_t* path) {
  if (!PlayerStart()) return 0;
  PlayerState* state = gPlayerState;
  return state ? ModuleLookup(&state->modules, owner, path) : 0;
}

int PlayerOpenCommand(int slot, const wchar_t* path) {
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return 0;
  if (!PlayerStart()) return 0;
  gPlayerFlag = 255;
  if (!PlayerPostCommand(PC_OPEN, WPARAM(INT_PTR(slot)), reinterpret_cast<LPARAM>(path))) return 0;
  for (int poll = 0; poll < kOpenPolls && OpenResult() < 0 && gPlayerThread; ++poll) Sleep(30);
  return OpenResult() > 0;
}

int PlayerOpenAudioFile(HWND owner, const wchar_t* path) {
  int slot = ExtensionShortcutSlot(path);
  if (!PlayerFindModule(owner, path)) {
    ShowOpenFailure(owner, path);
    return 0;
  }
  gPlayerPanelCalls.SendStop(owner);
  if (owner && gPlayerThread) {
    PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(owner));
    PlayerPostCommand(PC_SETSCALE, 0, 100);
  }
  if (!PlayerOpenCommand(slot, path)) {
    ShowOpenFailure(owner, path);
    return 0;
  }
  if (owner && gPlayerPanelCalls.HasPanelRecord(owner)) {
    PlayerPostCommand(PC_GETINFO, 0, 0);
    gPlayerPanelCalls.RefreshTime(owner);
  }
  return 1;
}
