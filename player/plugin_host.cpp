// Finding, loading and unloading plug-ins, and the Out_Module callbacks
// through which a plug-in's decoding thread hands its PCM to the player.
#include "player/plugin_host.h"

#include <cstring>
#include <new>

#include "base/code_page.h"
#include "base/paths.h"
#include "player/plugin_guard.h"

namespace {

std::atomic<PluginHost*> gCurrent{nullptr};

// --- Out_Module callbacks: the plug-in's threads call them without context.

int OutOpen(int sampleRate, int channels, int bits, int, int) {
  PluginHost* host = gCurrent;
  if (!host || (bits != 8 && bits != 16) || (channels != 1 && channels != 2) || sampleRate <= 0) return -1;
  host->format = FormatRecord{0, 0, uint32_t(sampleRate), uint32_t(channels > 1), uint32_t(bits == 16)};
  host->frameBytes = uint32_t(channels * bits / 8);
  SetEvent(host->formatReady);
  return 1;
}

void OutClose() {
  PluginHost* host = gCurrent;
  if (host) RingBufferMarkEnd(&host->ring);
}

int OutWrite(char* data, int length) {
  PluginHost* host = gCurrent;
  if (!host || length < 0 || !data) return 1;
  if (uint32_t(length) > RingBufferFreeSpace(&host->ring)) return 1;  // the plug-in tries again
  if (!RingBufferWrite(&host->ring, data, uint32_t(length))) return 1;
  uint32_t frameBytes = host->frameBytes;
  if (frameBytes) host->framesWritten += uint32_t(length) / frameBytes;
  return 0;
}

int OutCanWrite() {
  PluginHost* host = gCurrent;
  return host ? int(RingBufferFreeSpace(&host->ring)) : -1;
}

int OutIsPlaying() {
  OutClose();  // asked at the end of the file: what is in the ring is all there is
  return 0;
}

int OutPause(int) { return 0; }
void OutSetLevel(int) {}

void OutFlush(int timeMs) {
  PluginHost* host = gCurrent;
  if (!host) return;
  // The plug-in writes again from the new time, even after it had reached the end.
  RingBufferRestart(&host->ring);
  host->flushMs = timeMs;
  host->framesWritten = 0;
  SetEvent(host->seekDone);
}

int OutTime() { return 0; }

// --- Stubs for the visualisation and DSP hooks.

void NoSaInit(int, int) {}
void NoCall() {}
void NoPcm(void*, int, int, int) {}
int NoMode() { return 0; }
int NoSaAdd(void*, int, int) { return 0; }
int NoVsaMode(int*, int*) { return 0; }
int NoVsaAdd(void*, int) { return 0; }
void NoVsaInfo(int, int) {}
int NoDsp(short*, int, int, int, int) { return 0; }
void NoSetInfo(int, int, int, int) {}

void FillOutModule(OutModuleRecord* out) {
  memset(out, 0, sizeof *out);
  out->version = 0x10;
  out->Open = OutOpen;
  out->Close = OutClose;
  out->Write = OutWrite;
  out->CanWrite = OutCanWrite;
  out->IsPlaying = OutIsPlaying;
  out->Pause = OutPause;
  out->SetVolume = OutSetLevel;
  out->SetPan = OutSetLevel;
  out->Flush = OutFlush;
  out->GetOutputTime = OutTime;
  out->GetWrittenTime = OutTime;
}

void FillHooks(InModuleRecord* plugin, HWND owner, HMODULE library, OutModuleRecord* out) {
  plugin->hMainWindow = owner ? owner : GetForegroundWindow();
  plugin->hDllInstance = library;
  plugin->SAVSAInit = NoSaInit;
  plugin->SAVSADeInit = NoCall;
  plugin->SAAddPCMData = NoPcm;
  plugin->SAGetMode = NoMode;
  plugin->SAAdd = NoSaAdd;
  plugin->VSAAddPCMData = NoPcm;
  plugin->VSAGetMode = NoVsaMode;
  plugin->VSAAdd = NoVsaAdd;
  plugin->VSASetInfo = NoVsaInfo;
  plugin->dsp_isactive = NoMode;
  plugin->dsp_dosamples = NoDsp;
  plugin->SetInfo = NoSetInfo;
  plugin->outMod = out;
}

HMODULE LoadQuietly(const wchar_t* path) {
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryW(path);
  SetErrorMode(previous);
  return library;
}

struct GetRecordCall {
  GetInModuleRoutine routine;
  InModuleRecord* record;
};

// The plug-in's record, or null when it has none or its routine crashed (*faulted set).
InModuleRecord* GetRecord(HMODULE library, int* faulted) {
  GetRecordCall call{reinterpret_cast<GetInModuleRoutine>(reinterpret_cast<void*>(GetProcAddress(library, kGetInModuleExport))),
                     nullptr};
  if (!call.routine) return nullptr;
  *faulted = !PluginGuardedCall([](void* c) {
    auto* getRecord = static_cast<GetRecordCall*>(c);
    getRecord->record = getRecord->routine();
  }, &call);
  return *faulted ? nullptr : call.record;
}

// A file worth a slot: it exports the record, sends its sound through the
// host and names at least one extension. The library is freed again.
int Probe(const wchar_t* path, InputModule* module) {
  HMODULE library = LoadQuietly(path);
  if (!library) return 0;
  int faulted = 0;
  InModuleRecord* plugin = GetRecord(library, &faulted);
  if (faulted) return 0;  // left loaded: whatever it started may still run
  int usable = plugin && plugin->UsesOutputPlug && plugin->FileExtensions && plugin->FileExtensions[0];
  PluginSlot* slot = nullptr;
  if (usable) slot = new (std::nothrow) PluginSlot{};
  if (slot) {
    PluginExtensionList(plugin->FileExtensions, slot->extensions);
    CopyTextBounded(slot->path, kMaxPathChars + 1, path);
    FillOutModule(&slot->out);
    InitializeCriticalSection(&slot->host.lock);
    PluginAdapterInstall(module, slot);
  }
  FreeLibrary(library);
  return slot != nullptr;
}

void CallQuit(InModuleRecord* plugin, int* faulted) {
  if (!plugin->Quit) return;
  if (!PluginGuardedCall([](void* p) { static_cast<InModuleRecord*>(p)->Quit(); }, plugin)) *faulted = 1;
}

}  // namespace

void PluginExtensionList(const char* firstString, wchar_t* out) {
  out[0] = 0;
  wchar_t wide[256];
  size_t length = strnlen(firstString, 255);
  CodePageToWide(kCodePageSystemAnsi, firstString, length, wide, 256);
  size_t used = 0;
  auto append = [&](wchar_t c) {
    if (used < size_t(kPluginExtensionChars)) out[used++] = c;
  };
  for (wchar_t* part = wide; *part;) {
    wchar_t* end = part;
    while (*end && *end != L';') ++end;
    if (end > part) {
      if (used) append(L';');
      append(L'*');
      append(L'.');
      for (wchar_t* c = part; c < end; ++c) append(*c);
    }
    part = *end ? end + 1 : end;
  }
  out[used] = 0;
}

int PluginAnsiPath(const wchar_t* path, char* out, int capacity) {
  BOOL lossy = FALSE;
  int written = WideCharToMultiByte(CP_ACP, 0, path, -1, out, capacity, nullptr, &lossy);
  if (written && !lossy) return 1;
  wchar_t shortPath[kMaxPathChars + 1];
  DWORD length = GetShortPathNameW(path, shortPath, kMaxPathChars + 1);
  if (!length || length > kMaxPathChars) return 0;
  lossy = FALSE;
  written = WideCharToMultiByte(CP_ACP, 0, shortPath, -1, out, capacity, nullptr, &lossy);
  return written && !lossy;
}

int PluginHostEnumerate(InputModule* slots, int count) {
  wchar_t pattern[kMaxPathChars + 1];
  if (!ProgramFolder(pattern, kMaxPathChars + 1)) return 0;
  size_t folderLength = wcslen(pattern);
  if (folderLength + 10 > kMaxPathChars) return 0;
  wcscat(pattern, L"\\in_*.dll");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int filled = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (CompareStringOrdinal(found.cFileName, -1, L"in_wm.dll", -1, TRUE) == CSTR_EQUAL) continue;
    if (folderLength + 1 + wcslen(found.cFileName) > kMaxPathChars) continue;
    wchar_t path[kMaxPathChars + 1];
    CopyTextBounded(path, kMaxPathChars + 1, pattern);
    path[folderLength] = 0;
    wcscat(path, L"\\");
    wcscat(path, found.cFileName);
    if (Probe(path, &slots[filled])) ++filled;
  } while (filled < count && FindNextFileW(search, &found));
  FindClose(search);
  return filled;
}

int PluginLoad(PluginSlot* slot, void* owner) {
  PluginHost* host = &slot->host;
  if (host->faulted) return 0;
  if (host->library) return host->plugin != nullptr;
  host->library = LoadQuietly(slot->path);
  if (!host->library) return 0;
  host->plugin = GetRecord(host->library, &host->faulted);
  if (host->faulted) return 0;
  if (!host->plugin || !host->plugin->Init || !host->plugin->Play) {
    PluginUnload(slot);
    return 0;
  }
  FillHooks(host->plugin, static_cast<HWND>(owner), host->library, &slot->out);
  if (!PluginGuardedCall([](void* p) { static_cast<InModuleRecord*>(p)->Init(); }, host->plugin)) {
    host->faulted = 1;
    return 0;
  }
  if (!PluginCreateBuffers(host)) {
    PluginUnload(slot);
    return 0;
  }
  return 1;
}

void PluginUnload(PluginSlot* slot) {
  PluginHost* host = &slot->host;
  if (host->faulted || !host->library) return;  // a crashed plug-in stays as it fell
  InModuleRecord* plugin = host->plugin;
  if (plugin && host->playing) {
    host->playing = 0;
    if (plugin->Stop && !PluginGuardedCall([](void* p) { static_cast<InModuleRecord*>(p)->Stop(); }, plugin)) {
      host->faulted = 1;
      return;
    }
  }
  if (plugin) CallQuit(plugin, &host->faulted);
  if (host->faulted) return;
  FreeLibrary(host->library);
  host->library = nullptr;
  host->plugin = nullptr;
}

int PluginCreateBuffers(PluginHost* host) {
  if (!host->formatReady) host->formatReady = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!host->seekDone) host->seekDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!host->ring.bytes && !RingBufferCreate(&host->ring, kPluginRingBytes)) return 0;
  RingBufferRestart(&host->ring);
  ResetEvent(host->formatReady);
  ResetEvent(host->seekDone);
  host->format = FormatRecord{};
  host->frameBytes = 0;
  host->flushMs = 0;
  host->framesWritten = 0;
  return host->formatReady && host->seekDone;
}

void PluginFreeBuffers(PluginHost* host) {
  PluginHost* expected = host;
  gCurrent.compare_exchange_strong(expected, nullptr);
  if (host->faulted) return;  // its threads may still write
  if (host->formatReady) CloseHandle(host->formatReady);
  if (host->seekDone) CloseHandle(host->seekDone);
  host->formatReady = nullptr;
  host->seekDone = nullptr;
  RingBufferDestroy(&host->ring);
}

void PluginSetCurrent(PluginHost* host) { gCurrent = host; }
