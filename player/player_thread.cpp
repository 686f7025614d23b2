// The player thread: start-up, the loop, the commands and the orderly end.
#include "player_thread.h"

#include <cstdlib>
#include <new>

#include "language/language.h"
#include "player/player_messages.h"
#include "player/position_ticker.h"
#include "ui/message_box.h"

std::atomic<HANDLE> gPlayerThread{nullptr};
std::atomic<DWORD> gPlayerThreadId{0};
std::atomic<PlayerState*> gPlayerState{nullptr};
PlayerSignals gPlayerSignals;
void (*gPlayerInstallOutput)(OutputModule*) = WaveOutputInstall;

void PlayerNotify(PlayerState* state, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND owner = state->owner;
  if (owner) PostMessageW(owner, message, wParam, lParam);
}

namespace {

int ReadInput(void* context, void* buffer, uint32_t* count) {
  InputModule* input = static_cast<InputModule*>(context);
  return input->Read ? input->Read(input, buffer, count) : 0;
}

// The input module being decoded, in the table and behind the output's source
// alike; the speed stage stands between them.
void SetCurrentInput(PlayerState* state, InputModule* input) {
  state->modules.current = input;
  PcmSource source = input ? PcmSource{input, ReadInput} : PcmSource{};
  if (input && state->stage) {
    SpeedStageSetInput(state->stage, source);
    source = SpeedStageSource(state->stage);
  }
  state->output.source = source;
}

// Moves the decoder to positionMs of the recording and drops everything queued
// after the old place, in the stage and on the device.
// The module's exact length where it told it, else its whole seconds; 0 = unknown.
uint64_t LengthMilliseconds(const PlayerState* state) {
  return state->lengthMilliseconds ? state->lengthMilliseconds : uint64_t{state->length} * 1000;
}

void SeekToMs(PlayerState* state, uint64_t positionMs) {
  InputModule* input = state->modules.current;
  uint32_t length = state->length;
  uint64_t lengthMs = LengthMilliseconds(state);
  if (input && input->Seek) {
    if (lengthMs && lengthMs <= 0xFFFFFFFFu) {
      if (positionMs > lengthMs) positionMs = lengthMs;
      input->Seek(input, uint32_t(positionMs), uint32_t(lengthMs));
      PositionClockSyncTo(state, positionMs);
    } else {
      input->Seek(input, uint32_t(positionMs / 1000), length);
      PositionClockSync(state);
    }
  }
  if (state->stage) SpeedStageClear(state->stage);
  state->output.Flush(&state->output);
}

void CloseCurrentInput(PlayerState* state) {
  InputModule* input = state->modules.current;
  if (input && input->Close) input->Close(input);
  SetCurrentInput(state, nullptr);
}

void CloseOutput(PlayerState* state) {
  if (!state->outputOpen) return;
  state->outputOpen = 0;
  state->output.Close(&state->output);
}

// Fills the gaps of the file's record from the format; non-zero when anything changed.
int CompleteFileInfo(FileInfo* info, const FormatRecord& format) {
  int changed = 0;
  if (!info->lengthSeconds && format.lengthSeconds) {
    info->lengthSeconds = format.lengthSeconds;
    changed = 1;
  }
  if (!info->bitRate && format.bitRate) {
    info->bitRate = int32_t(format.bitRate);
    changed = 1;
  }
  if (info->channelMode < 2 && format.stereo) {
    info->channelMode = 2;
    changed = 1;
  }
  if (info->sampleRate != format.sampleRate) {
    info->sampleRate = format.sampleRate;
    changed = 1;
  }
  return changed;
}

// Opens the output for the current input module. Zero when the sound device
// could not be opened.
int StartOutput(PlayerState* state) {
  InputModule* input = state->modules.current;
  int seekable = input->Seek != nullptr;
  int changed = seekable != state->seekable;
  state->seekable = seekable;
  FormatRecord format{};
  if (input->GetFormat) input->GetFormat(input, &format);
  state->outputOpen = 1;
  state->length = format.lengthSeconds;
  state->lengthMilliseconds = format.lengthMilliseconds;
  if (CompleteFileInfo(&state->file.info, format)) changed = 1;
  if (state->stage) {
    SpeedStageSetFormat(state->stage, format);
    state->speed = SpeedStageSpeed(state->stage);
  }
  if (changed) PlayerNotify(state, PN_INFO, WPARAM(seekable), LPARAM(&state->file));
  if (!state->output.Open(&state->output, &format)) return 0;
  PlayerNotify(state, PN_VOLUME, 0, LPARAM(state->output.GetVolume(&state->output) & 0xFF));
  return 1;
}

std::atomic<LONG> gDeviceMessageShown{0};  // a box is up

DWORD WINAPI ShowDeviceMessage(void*) {
  wchar_t text[256];
  GetText(kTextCannotOpenSoundDevice, text, 256);
  ShowError(nullptr, text, nullptr);
  gDeviceMessageShown = 0;
  return 0;
}

// The box runs in a thread of its own: a modal loop in the player thread would
// swallow the commands posted to it meanwhile. One box at a time.
void TellDeviceFailure() {
  if (gDeviceMessageShown.exchange(1)) return;
  HANDLE thread = CreateThread(nullptr, 0, ShowDeviceMessage, nullptr, 0, nullptr);
  if (thread)
    CloseHandle(thread);
  else
    gDeviceMessageShown = 0;
}

// Playing on without a device would report "playing" while nothing sounds:
// close everything, report stopped, and tell the user.
void AbandonPlay(PlayerState* state) {
  CloseOutput(state);
  CloseCurrentInput(state);
  PositionClockSync(state);
  PlayerNotify(state, PN_STATE, 0, kStateStopped);
  TellDeviceFailure();
}

// path is the poster's heap copy, now the player's to free.
void CommandOpen(PlayerState* state, int slot, wchar_t* path) {
  int opened = path && ModuleTableOpenFile(&state->modules, slot, state->owner, path, &state->file);
  free(path);
  if (!opened) {
    // A failed open leaves nothing to play, not even the file before it.
    CloseCurrentInput(state);
    state->file.path[0] = 0;
  }
  SetCurrentInput(state, state->modules.current);
  // Known at once, so that the seek bar of a file that never played yet moves.
  state->seekable = state->modules.current && state->modules.current->Seek;
  PositionClockSync(state);
  gPlayerSignals.openResult = opened;
  SetEvent(gPlayerSignals.openDone);
}

void CommandGetInfo(PlayerState* state) {
  int index = state->modules.currentIndex;
  if (index < 0 || index >= kModuleSlots) return;
  InputModule* module = &state->modules.slots[index];
  if (module->GetInfo) module->GetInfo(module, &state->file);
  PlayerNotify(state, PN_INFO, WPARAM(state->seekable), LPARAM(&state->file));
}

void CommandSeek(PlayerState* state, uint32_t numerator, uint32_t denominator, int* work) {
  if (!state->outputOpen || !state->seekable) return;
  MSG newer;
  // Only the newest seek of a burst is worth performing.
  if (PeekMessageW(&newer, nullptr, PC_SEEK, PC_SEEK, PM_NOREMOVE) ||
      PeekMessageW(&newer, nullptr, PC_SEEKTIME, PC_SEEKTIME, PM_NOREMOVE))
    return;
  InputModule* input = state->modules.current;
  if (input && input->Seek) {
    input->Seek(input, numerator, denominator);
    uint64_t lengthMs = LengthMilliseconds(state);
    // Where the seek went, to the millisecond when the length is known.
    if (lengthMs && denominator)
      PositionClockSyncTo(state, uint64_t{numerator} * lengthMs / denominator);
    else
      PositionClockSync(state);
  }
  if (state->stage) SpeedStageClear(state->stage);
  state->output.Flush(&state->output);
  state->pausedAtMs = -1;
  *work = 1;
}

// Whole seconds of a length rounded either way would put a late cue up to a
// second away from its sound: the fraction goes by milliseconds where known.
void CommandSeekTime(PlayerState* state, uint32_t seconds, int* work) {
  uint64_t lengthMs = LengthMilliseconds(state);
  if (!lengthMs || lengthMs > 0xFFFFFFFFu) {
    if (state->length) CommandSeek(state, seconds, state->length, work);
    return;
  }
  uint64_t target = uint64_t{seconds} * 1000;
  CommandSeek(state, static_cast<uint32_t>(target < lengthMs ? target : lengthMs), uint32_t(lengthMs), work);
}

void CommandPlay(PlayerState* state, int* work) {
  state->pausedAtMs = -1;
  state->lastPosition = -1;
  state->lastProgress = -1;
  int index = state->modules.currentIndex;
  if (!state->modules.current && state->file.path[0] && index >= 0 && index < kModuleSlots) {
    // After Stop or the end of the stream: the same file from its beginning.
    InputModule* module = &state->modules.slots[index];
    if (module->Open && module->Open(module, state->owner, state->file.path)) SetCurrentInput(state, module);
  }
  if (!state->modules.current) return;
  SetCurrentInput(state, state->modules.current);
  PositionClockSync(state);
  if (!state->outputOpen) {
    if (!StartOutput(state)) {
      AbandonPlay(state);
      return;
    }
    *work = 1;
  }
  state->output.Pause(&state->output, 0);
  PlayerNotify(state, PN_STATE, 0, kStatePlaying);
  state->ticking++;
}

void CommandStop(PlayerState* state) {
  state->ticking = 0;
  state->pausedAtMs = -1;
  CloseCurrentInput(state);
  CloseOutput(state);
  PlayerNotify(state, PN_STATE, 0, kStateStopped);
  PositionClockSync(state);
}

void CommandPause(PlayerState* state) {
  state->ticking = 0;
  if (state->outputOpen && state->pausedAtMs < 0) {
    // What has been heard, not what the decoder has read ahead: the resume
    // goes back from here.
    uint64_t heard = PositionClockMs(state);
    uint64_t lengthMs = uint64_t{state->length} * 1000;
    state->pausedAtMs = int64_t(lengthMs && heard > lengthMs ? lengthMs : heard);
  }
  if (state->outputOpen) state->output.Pause(&state->output, 1);
  PlayerNotify(state, PN_STATE, 0, kStatePaused);
}

// From the paused point (or the shown position when nothing was heard),
// rewindMs earlier but never before the start.
void CommandResume(PlayerState* state, uint32_t rewindMs, uint32_t shownSeconds, int* work) {
  int64_t from = state->pausedAtMs >= 0 ? state->pausedAtMs : int64_t(shownSeconds) * 1000;
  uint64_t target = from > int64_t(rewindMs) ? uint64_t(from - rewindMs) : 0;
  if (state->outputOpen && state->modules.current && state->seekable) {
    // Sought and flushed while still paused, so that nothing of the old queue
    // sounds on between the resume and the seek.
    SeekToMs(state, target);
    CommandPlay(state, work);
    PositionClockSyncTo(state, target);
    *work = 1;
    return;
  }
  CommandPlay(state, work);
  if (!state->modules.current || !state->outputOpen || !state->seekable) return;
  SeekToMs(state, target);
  *work = 1;
}

// A new speed is heard at once: the device and the stage are flushed and the
// decoder goes back to what was being heard.
void CommandSetSpeed(PlayerState* state, uint32_t percent, int* work) {
  if (!state->stage) return;
  int playing = state->outputOpen && state->ticking && state->modules.current;
  uint64_t heard = PositionClockMs(state);
  state->speed = SpeedStageSetSpeed(state->stage, percent);
  if (!playing) return;
  if (state->seekable)
    SeekToMs(state, heard);
  else
    PositionClockSyncTo(state, heard);
  *work = 1;
}

void CommandSetOwner(PlayerState* state, HWND window) {
  HWND owner = state->owner;
  if (owner && window && window != owner) {
    // One owner at a time: the newcomer is told the player is not for it.
    PostMessageW(window, PN_STATE, 0, kStateStopped);
    return;
  }
  state->owner = window;
}

void Execute(PlayerState* state, const MSG& message, int* work) {
  switch (message.message) {
    case PC_QUIT:
      state->quitRequested++;
      state->ticking = 0;
      SetEvent(state->quitEvent);
      break;
    case PC_SETOWNER:
      CommandSetOwner(state, reinterpret_cast<HWND>(message.lParam));
      break;
    case PC_SETSCALE:
      state->progressScale = uint32_t(message.lParam);
      break;
    case PC_SETVOLUME:
      if (state->outputOpen) state->output.SetVolume(&state->output, uint32_t(message.lParam));
      break;
    case PC_OPEN:
      CommandOpen(state, int(INT_PTR(message.wParam)), reinterpret_cast<wchar_t*>(message.lParam));
      break;
    case PC_GETINFO:
      CommandGetInfo(state);
      break;
    case PC_SEEK:
      CommandSeek(state, uint32_t(message.wParam), uint32_t(message.lParam), work);
      break;
    case PC_SEEKTIME:
      CommandSeekTime(state, uint32_t(message.wParam), work);
      break;
    case PC_PLAY:
      CommandPlay(state, work);
      break;
    case PC_STOP:
      CommandStop(state);
      break;
    case PC_PAUSE:
      CommandPause(state);
      break;
    case PC_SETSPEED:
      CommandSetSpeed(state, uint32_t(message.wParam), work);
      break;
    case PC_RESUME:
      CommandResume(state, uint32_t(message.wParam), uint32_t(message.lParam), work);
      break;
    default:
      break;  // anything else is dropped
  }
}

// Hands PCM to the device, or closes the output once the ended stream has sounded.
void FeedOutput(PlayerState* state) {
  if (state->modules.current) {
    state->output.Write(&state->output);
    if (!PcmSourceIsSet(state->output.source)) {  // the end of the stream
      CloseCurrentInput(state);
      PlayerNotify(state, PN_STATE, 0, kStateEndOfStream);
    }
  } else if (state->output.IsDone(&state->output)) {
    CloseOutput(state);
    PlayerNotify(state, PN_STATE, 0, kStateStopped);
  }
}

void RunLoop(PlayerState* state) {
  for (;;) {
    int work = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Execute(state, message, &work);
    if (state->quitRequested) return;
    if (state->outputOpen) {
      HANDLE event = state->output.deviceEvent;
      int feed = 1;
      if (!work && event)
        feed = MsgWaitForMultipleObjects(1, &event, FALSE, 1000, QS_POSTMESSAGE) == WAIT_OBJECT_0;
      if (feed) FeedOutput(state);
    } else {
      WaitMessage();
    }
    Sleep(100);
    if (state->quitRequested) return;
  }
}

// Open commands still queued when the thread ends own their paths.
void DropQueuedOpens() {
  MSG message;
  while (PeekMessageW(&message, nullptr, PC_OPEN, PC_OPEN, PM_REMOVE)) free(reinterpret_cast<wchar_t*>(message.lParam));
}

// Nobody waits for this thread: it closes its own handle, and a caller still
// waiting for an open learns that it failed.
void EndThread() {
  HANDLE self = gPlayerThread.exchange(nullptr);
  if (self) CloseHandle(self);
  gPlayerSignals.openResult = 0;
  SetEvent(gPlayerSignals.openDone);
}

}  // namespace

DWORD WINAPI PlayerThreadMain(void*) {
  PlayerState* state = new (std::nothrow) PlayerState{};
  if (state) state->quitEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!state || !state->quitEvent) {
    delete state;
    EndThread();
    return 0;
  }
  state->lastProgress = -1;
  state->pausedAtMs = -1;
  state->speed = kSpeedNormalPercent;
  state->stage = SpeedStageCreate();  // without one, every speed is the recorded one
  ModuleTableSetUp(&state->modules);
  gPlayerInstallOutput(&state->output);
  PositionTickerStart(state);
  MSG message;
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue exist
  gPlayerState = state;
  SetEvent(gPlayerSignals.ready);

  RunLoop(state);

  CloseCurrentInput(state);
  CloseOutput(state);
  gPlayerState = nullptr;
  DropQueuedOpens();
  ModuleTableTearDown(&state->modules);
  if (state->ticker) {
    WaitForSingleObject(state->ticker, INFINITE);  // it sees the quit event within 100 ms
    CloseHandle(state->ticker);
  }
  CloseHandle(state->quitEvent);
  if (state->stage) SpeedStageDestroy(state->stage);
  delete state;
  EndThread();
  return 0;
}
