// A small input plug-in for the host's tests, built once per behaviour (the
// PLUGIN_KIND_* definition). The good one plays "TPCM" files, a 12-byte
// header ("TPCM", rate 32-bit, channels 16-bit, bits 16-bit, little-endian)
// and then the PCM, writing it unchanged from a thread of its own (an M4A
// file it plays as a second of counting frames, for the host's own M4A
// information to show); it answers
// a seek by flushing at the new time, posts WM_USER + 2 at the end and calls
// every file "Band - Song". The others misbehave as their names say. Each
// loading, Init and Quit is appended to the file that TPWR_PLUGIN_LOG names.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "player/plugin_records.h"

namespace {

#if defined(PLUGIN_KIND_playfails)
const char kExtensions[] = "tpfail\0Failing files\0";
#elif defined(PLUGIN_KIND_neveropens)
const char kExtensions[] = "tpmute\0Mute files\0";
#elif defined(PLUGIN_KIND_stalls)
const char kExtensions[] = "tpstal\0Stalling files\0";
#elif defined(PLUGIN_KIND_crashes)
const char kExtensions[] = "tpcras\0Crashing files\0";
#elif defined(PLUGIN_KIND_noext)
const char kExtensions[] = "\0\0";
#else
const char kExtensions[] = "tpcm;m4a\0TPCM files\0";
#endif

char gDescription[] = "TPCM plug-in";
InModuleRecord gModule;
HMODULE gSelf;
HANDLE gThread;
volatile LONG gStop;
volatile LONG gSeekTo = -1;
char* gData;  // the whole file
DWORD gBytes;
int gRate, gChannels, gBits, gLengthMs;

void Log(const char* event) {
  char logPath[1024];
  if (!GetEnvironmentVariableA("TPWR_PLUGIN_LOG", logPath, sizeof logPath)) return;
  char self[MAX_PATH];
  GetModuleFileNameA(gSelf, self, MAX_PATH);
  const char* name = strrchr(self, '\\') ? strrchr(self, '\\') + 1 : self;
  HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[400];
  int length = snprintf(line, sizeof line, "%s %s\n", event, name);
  DWORD written;
  WriteFile(file, line, DWORD(length), &written, nullptr);
  CloseHandle(file);
}

#if defined(PLUGIN_KIND_crashes)
void Crash() { *static_cast<volatile int*>(nullptr) = 1; }
#endif

// An M4A file stands for a second of counting frames, 16-bit stereo at 44100 Hz.
int MakeCounting(const char* path, char** data, DWORD* bytes, int* rate, int* channels, int* bits) {
  const char* dot = strrchr(path, '.');
  if (!dot || lstrcmpiA(dot, ".m4a") != 0) return 0;
  *rate = 44100;
  *channels = 2;
  *bits = 16;
  *bytes = 12 + 44100 * 4;
  *data = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, *bytes));
  if (!*data) return 0;
  memcpy(*data, "TPCM", 4);
  for (DWORD i = 1; i <= 44100; ++i) memcpy(*data + 12 + (i - 1) * 4, &i, 4);
  return 1;
}

// Reads a TPCM file whole; zero when it is none.
int ReadTpcm(const char* path, char** data, DWORD* bytes, int* rate, int* channels, int* bits) {
  if (MakeCounting(path, data, bytes, rate, channels, bits)) return 1;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DWORD size = GetFileSize(file, nullptr);
  char* all = size >= 12 && size < 64u << 20 ? static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size)) : nullptr;
  DWORD got = 0;
  int ok = all && ReadFile(file, all, size, &got, nullptr) && got == size && memcmp(all, "TPCM", 4) == 0;
  CloseHandle(file);
  if (!ok) {
    if (all) HeapFree(GetProcessHeap(), 0, all);
    return 0;
  }
  memcpy(rate, all + 4, 4);
  *channels = *reinterpret_cast<unsigned short*>(all + 8);
  *bits = *reinterpret_cast<unsigned short*>(all + 10);
  *data = all;
  *bytes = size;
  return *rate > 0 && *channels > 0 && *bits > 0;
}

int LengthMs(DWORD bytes, int rate, int channels, int bits) {
  return int((unsigned long long)(bytes - 12) / unsigned(channels * bits / 8) * 1000 / unsigned(rate));
}

DWORD WINAPI Decode(void*) {
  OutModuleRecord* out = gModule.outMod;
#if defined(PLUGIN_KIND_neveropens)
  while (!gStop) Sleep(10);
  return 0;
#endif
  if (out->Open(gRate, gChannels, gBits, -1, -1) < 0) return 0;
  DWORD frameBytes = DWORD(gChannels * gBits / 8);
  DWORD at = 12;
  while (!gStop) {
    LONG seekTo = InterlockedExchange(&gSeekTo, -1);
    if (seekTo >= 0) {
      at = 12 + DWORD((unsigned long long)seekTo * unsigned(gRate) / 1000) * frameBytes;
      if (at > gBytes) at = gBytes;
      out->Flush(seekTo);
    }
    if (at >= gBytes) {
      while (out->IsPlaying() && !gStop) Sleep(10);
      PostMessageW(gModule.hMainWindow, WM_USER + 2, 0, 0);
      return 0;
    }
#if defined(PLUGIN_KIND_stalls)
    if (at >= 12 + (gBytes - 12) / 2) {  // half-way it stops giving anything
      while (!gStop) Sleep(10);
      return 0;
    }
#endif
    DWORD piece = 576 * frameBytes;
    if (piece > gBytes - at) piece = gBytes - at;
    if (out->CanWrite() >= int(piece) && out->Write(gData + at, int(piece)) == 0)
      at += piece;
    else
      Sleep(5);
  }
  return 0;
}

void Config(HWND) {}
void About(HWND) {}
void Init() { Log("init"); }
void Quit() { Log("quit"); }

void GetFileInfo(const char* file, char* title, int* lengthMs) {
#if defined(PLUGIN_KIND_crashes)
  Crash();
#endif
  if (!file) {
    strcpy(title, "Band - Song");
    *lengthMs = gLengthMs;
    return;
  }
  char* data;
  DWORD bytes;
  int rate, channels, bits;
  if (!ReadTpcm(file, &data, &bytes, &rate, &channels, &bits)) return;
  strcpy(title, "Band - Song");
  *lengthMs = LengthMs(bytes, rate, channels, bits);
  HeapFree(GetProcessHeap(), 0, data);
}

int InfoBox(const char*, HWND) { return 0; }
int IsOurFile(const char*) { return 0; }

void Stop() {
  gStop = 1;
  if (gThread) {
    WaitForSingleObject(gThread, INFINITE);
    CloseHandle(gThread);
    gThread = nullptr;
  }
  gModule.outMod->Close();
  if (gData) HeapFree(GetProcessHeap(), 0, gData);
  gData = nullptr;
}

int Play(const char* file) {
#if defined(PLUGIN_KIND_playfails)
  return 1;
#elif defined(PLUGIN_KIND_crashes)
  Crash();
#endif
  if (!ReadTpcm(file, &gData, &gBytes, &gRate, &gChannels, &gBits)) return 1;
  gLengthMs = LengthMs(gBytes, gRate, gChannels, gBits);
  gStop = 0;
  gSeekTo = -1;
  gThread = CreateThread(nullptr, 0, Decode, nullptr, 0, nullptr);
  return gThread ? 0 : 1;
}

void Pause() {}
void UnPause() {}
int IsPaused() { return 0; }
int GetLength() { return gLengthMs; }
int GetOutputTime() { return 0; }
void SetOutputTime(int timeMs) { gSeekTo = timeMs; }
void SetLevel(int) {}
void EqSet(int, char*, int) {}

}  // namespace

#if !defined(PLUGIN_KIND_noexport)
extern "C" __declspec(dllexport) InModuleRecord* winampGetInModule2() {
  gModule.version = 0x100;
  gModule.description = gDescription;
  gModule.FileExtensions = const_cast<char*>(kExtensions);
  gModule.is_seekable = 1;
#if defined(PLUGIN_KIND_nooutput)
  gModule.UsesOutputPlug = 0;
#else
  gModule.UsesOutputPlug = 1;
#endif
  gModule.Config = Config;
  gModule.About = About;
  gModule.Init = Init;
  gModule.Quit = Quit;
  gModule.GetFileInfo = GetFileInfo;
  gModule.InfoBox = InfoBox;
  gModule.IsOurFile = IsOurFile;
  gModule.Play = Play;
  gModule.Pause = Pause;
  gModule.UnPause = UnPause;
  gModule.IsPaused = IsPaused;
  gModule.Stop = Stop;
  gModule.GetLength = GetLength;
  gModule.GetOutputTime = GetOutputTime;
  gModule.SetOutputTime = SetOutputTime;
  gModule.SetVolume = SetLevel;
  gModule.SetPan = SetLevel;
  gModule.EQSet = EqSet;
  return &gModule;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    gSelf = instance;
    Log("load");
  }
  return TRUE;
}
