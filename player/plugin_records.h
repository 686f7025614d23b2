// The two records of the Winamp input plug-in interface, as its published
// description lays them out: the plug-in's In_Module (what the plug-in
// offers and the hooks the host fills in) and the host's Out_Module (where
// the plug-in sends its PCM). Fields are the platform's natural sizes, so an
// x86-64 program speaks with x86-64 plug-ins.
#pragma once
#include <windows.h>

struct OutModuleRecord {
  int version;  // the host's: 0x10
  char* description;
  INT_PTR id;
  HWND hMainWindow;
  HINSTANCE hDllInstance;
  void (*Config)(HWND parent);
  void (*About)(HWND parent);
  void (*Init)();
  void (*Quit)();
  int (*Open)(int sampleRate, int channels, int bitsPerSample, int bufferLengthMs, int prebufferMs);
  void (*Close)();
  int (*Write)(char* data, int length);
  int (*CanWrite)();
  int (*IsPlaying)();
  int (*Pause)(int pause);
  void (*SetVolume)(int volume);
  void (*SetPan)(int pan);
  void (*Flush)(int timeMs);
  int (*GetOutputTime)();
  int (*GetWrittenTime)();
};

struct InModuleRecord {
  int version;
  char* description;
  HWND hMainWindow;        // filled by the host
  HINSTANCE hDllInstance;  // filled by the host
  char* FileExtensions;    // "mp3;mp2\0Description\0...\0"; the host reads the first string
  int is_seekable;
  int UsesOutputPlug;
  void (*Config)(HWND parent);
  void (*About)(HWND parent);
  void (*Init)();
  void (*Quit)();
  void (*GetFileInfo)(const char* file, char* title, int* lengthMs);  // file null: the playing one
  int (*InfoBox)(const char* file, HWND parent);
  int (*IsOurFile)(const char* file);
  int (*Play)(const char* file);  // 0 on success
  void (*Pause)();
  void (*UnPause)();
  int (*IsPaused)();
  void (*Stop)();
  int (*GetLength)();  // milliseconds
  int (*GetOutputTime)();
  void (*SetOutputTime)(int timeMs);
  void (*SetVolume)(int volume);
  void (*SetPan)(int pan);
  // Visualisation and DSP hooks: the host fills them with stubs.
  void (*SAVSAInit)(int maxLatencyMs, int sampleRate);
  void (*SAVSADeInit)();
  void (*SAAddPCMData)(void* pcm, int channels, int bits, int timestamp);
  int (*SAGetMode)();
  int (*SAAdd)(void* data, int timestamp, int csa);
  void (*VSAAddPCMData)(void* pcm, int channels, int bits, int timestamp);
  int (*VSAGetMode)(int* spectrumChannels, int* waveChannels);
  int (*VSAAdd)(void* data, int timestamp);
  void (*VSASetInfo)(int sampleRate, int channels);
  int (*dsp_isactive)();
  int (*dsp_dosamples)(short* samples, int count, int bits, int channels, int sampleRate);
  void (*EQSet)(int on, char data[10], int preamp);
  void (*SetInfo)(int bitRate, int sampleRate, int stereo, int synched);
  OutModuleRecord* outMod;  // filled by the host
};

// The one export that a plug-in DLL must have.
using GetInModuleRoutine = InModuleRecord* (*)();
constexpr const char kGetInModuleExport[] = "winampGetInModule2";
