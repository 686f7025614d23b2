// The nine input-module operations of a plug-in slot, translated into calls
// of the plug-in's In_Module.
#include <cstring>

#include "base/code_page.h"
#include "formats/audio_info/audio_info.h"
#include "player/plugin_guard.h"
#include "player/plugin_host.h"

namespace {

constexpr int kAnsiPathBytes = 1024;

PluginSlot* SlotOf(InputModule* module) { return static_cast<PluginSlot*>(module->state); }

struct SlotLock {
  explicit SlotLock(PluginSlot* s) : slot(s) { EnterCriticalSection(&slot->host.lock); }
  ~SlotLock() { LeaveCriticalSection(&slot->host.lock); }
  PluginSlot* slot;
};

struct FileInfoCall {
  InModuleRecord* plugin;
  const char* path;  // null: the playing file
  char title[kPluginTitleBytes];
  int lengthMs;
};

// GetFileInfo under the guard; zero when the plug-in crashed (it is then marked).
int AskFileInfo(PluginHost* host, FileInfoCall* call) {
  call->plugin = host->plugin;
  memset(call->title, 0, sizeof call->title);
  call->lengthMs = 0;
  int returned = PluginGuardedCall([](void* c) {
    auto* ask = static_cast<FileInfoCall*>(c);
    ask->plugin->GetFileInfo(ask->path, ask->title, &ask->lengthMs);
  }, call);
  call->title[kPluginTitleBytes - 1] = 0;
  if (!returned) host->faulted = 1;
  return returned;
}

void Release(InputModule* module) {
  PluginSlot* slot = SlotOf(module);
  {
    SlotLock hold(slot);
    PluginUnload(slot);
    PluginFreeBuffers(&slot->host);
  }
  module->state = nullptr;
  module->extensions = nullptr;
  if (slot->host.faulted) return;  // its threads may still reach the block
  DeleteCriticalSection(&slot->host.lock);
  delete slot;
}

int Test(InputModule* module, void* owner, const wchar_t* path) {
  PluginSlot* slot = SlotOf(module);
  SlotLock hold(slot);
  PluginHost* host = &slot->host;
  char ansiPath[kAnsiPathBytes];
  if (!PluginAnsiPath(path, ansiPath, kAnsiPathBytes)) return 0;
  if (!PluginLoad(slot, owner) || !host->plugin->GetFileInfo) return 0;
  FileInfoCall call;
  call.path = ansiPath;
  if (!AskFileInfo(host, &call)) return 0;
  if (call.lengthMs == 0) return call.title[0] != 0;
  int seconds = call.lengthMs / 1000;
  return seconds ? seconds : 1;  // any length, negative ones too, takes the file
}

struct PlayCall {
  InModuleRecord* plugin;
  const char* path;
  int result;
};

int Open(InputModule* module, void* owner, const wchar_t* path) {
  PluginSlot* slot = SlotOf(module);
  SlotLock hold(slot);
  PluginHost* host = &slot->host;
  host->playing = 0;
  char ansiPath[kAnsiPathBytes];
  if (!PluginAnsiPath(path, ansiPath, kAnsiPathBytes) || !PluginLoad(slot, owner)) return 0;
  if (owner) host->plugin->hMainWindow = static_cast<HWND>(owner);
  if (!PluginCreateBuffers(host)) return 0;
  // The callbacks carry no context: they reach the buffers of the plug-in that plays.
  PluginSetCurrent(host);
  PlayCall call{host->plugin, ansiPath, -1};
  if (!PluginGuardedCall([](void* c) {
        auto* play = static_cast<PlayCall*>(c);
        play->result = play->plugin->Play(play->path);
      }, &call)) {
    host->faulted = 1;
  }
  if (call.result == 0 && !host->faulted) {
    host->playing = 1;
    return 1;
  }
  PluginUnload(slot);
  PluginFreeBuffers(host);
  return 0;
}

// The plug-in's own thread is stopped before its buffers go, so that no
// callback of it can still be writing into them.
void Close(InputModule* module) {
  PluginSlot* slot = SlotOf(module);
  SlotLock hold(slot);
  PluginUnload(slot);
  PluginFreeBuffers(&slot->host);
}

struct TimeCall {
  InModuleRecord* plugin;
  int value;
};

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  PluginHost* host = &SlotOf(module)->host;
  InModuleRecord* plugin = host->plugin;
  if (!plugin || host->faulted || !plugin->GetLength || !plugin->SetOutputTime || !host->seekDone) return 0;
  TimeCall call{plugin, 0};
  if (!PluginGuardedCall([](void* c) { static_cast<TimeCall*>(c)->value = static_cast<TimeCall*>(c)->plugin->GetLength(); }, &call)) {
    host->faulted = 1;
    return 0;
  }
  if (call.value <= 0) return 0;
  call.value = static_cast<int>(SeekTarget(uint64_t(call.value), numerator, denominator));
  ResetEvent(host->seekDone);
  if (!PluginGuardedCall([](void* c) { static_cast<TimeCall*>(c)->plugin->SetOutputTime(static_cast<TimeCall*>(c)->value); }, &call)) {
    host->faulted = 1;
    return 0;
  }
  return WaitForSingleObject(host->seekDone, kPluginSeekWaitMs) == WAIT_OBJECT_0;
}

void GetFormat(InputModule* module, FormatRecord* format) {
  PluginHost* host = &SlotOf(module)->host;
  *format = FormatRecord{};
  if (!host->formatReady || WaitForSingleObject(host->formatReady, kPluginFormatWaitMs) != WAIT_OBJECT_0) return;
  *format = host->format;
  InModuleRecord* plugin = host->plugin;
  TimeCall call{plugin, 0};
  if (plugin && !host->faulted && plugin->GetLength &&
      PluginGuardedCall([](void* c) { static_cast<TimeCall*>(c)->value = static_cast<TimeCall*>(c)->plugin->GetLength(); }, &call))
    format->lengthSeconds = call.value > 0 ? uint32_t(call.value / 1000) : 0;
}

// "Band - Song": the artist before the first " - ", the title after it.
void TakeTitle(const char* text, FileInfo* info) {
  const char* dash = strstr(text, " - ");
  size_t titleFrom = 0;
  if (dash) {
    CodePageToWide(kCodePageSystemAnsi, text, size_t(dash - text), info->artist, kTagTextChars);
    titleFrom = size_t(dash - text) + 3;
  }
  CodePageToWide(kCodePageSystemAnsi, text + titleFrom, strlen(text + titleFrom), info->title, kTagTextChars);
}

void GetInfo(InputModule* module, FileInfoBlock* block) {
  PluginHost* host = &SlotOf(module)->host;
  AudioFileInfoByName(block->path, &block->info);
  InModuleRecord* plugin = host->plugin;
  if (!plugin || host->faulted) return;
  if (!block->info.title[0] && plugin->GetFileInfo) {
    FileInfoCall call;
    call.path = nullptr;
    if (AskFileInfo(host, &call) && call.title[0]) TakeTitle(call.title, &block->info);
  }
  if (plugin->description)
    CodePageToWide(kCodePageSystemAnsi, plugin->description, strnlen(plugin->description, kCodecLabelChars - 1),
                   block->info.codecLabel, kCodecLabelChars);
}

int Read(InputModule* module, void* buffer, uint32_t* count) {
  PluginHost* host = &SlotOf(module)->host;
  if (!host->ring.bytes) {
    *count = 0;
    return 0;
  }
  uint32_t got = 0;
  int result = RingBufferRead(&host->ring, buffer, *count, &got, kPluginReadWaitMs);
  *count = got;
  return result;
}

uint32_t GetPosition(InputModule* module) {
  PluginHost* host = &SlotOf(module)->host;
  uint32_t rate = host->format.sampleRate;
  uint64_t played = rate ? host->framesWritten.load() * 1000 / rate : 0;
  int64_t ms = host->flushMs.load() + int64_t(played);
  return ms > 0 ? uint32_t(ms / 1000) : 0;
}

}  // namespace

void PluginAdapterInstall(InputModule* module, PluginSlot* slot) {
  InputModuleBind(module, slot, slot->extensions, INPUT_MODULE_ROUTINES(GetInfo));
}
