// The host for Winamp input plug-ins ("in_*.dll" beside the program): each
// plug-in found fills one module-table slot whose operations are an adapter
// onto the plug-in's In_Module, and gets an Out_Module of the host's own that
// fills a PCM ring instead of driving a sound card.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/ring_buffer.h"
#include "base/text_limits.h"
#include "formats/input_module.h"
#include "player/plugin_records.h"

constexpr int kPluginSlots = 15;
constexpr int kPluginExtensionChars = 31;
constexpr uint32_t kPluginRingBytes = 65536;
constexpr DWORD kPluginFormatWaitMs = 2000;
constexpr DWORD kPluginSeekWaitMs = 2000;
constexpr uint32_t kPluginReadWaitMs = 3000;
constexpr int kPluginTitleBytes = 2048;  // what plug-ins may write into a title buffer

struct PluginHost {
  FormatRecord format;  // written by Out_Module Open before formatReady is set
  HANDLE formatReady;   // auto-reset; null while there are no buffers
  HANDLE seekDone;      // auto-reset, set by Out_Module Flush
  RingBuffer ring;      // bytes null while there are no buffers
  // The written time is counted in sample frames from the last flush, so that
  // no rounding piles up over the many writes of a long file.
  std::atomic<int64_t> flushMs;
  std::atomic<uint64_t> framesWritten;
  std::atomic<uint32_t> frameBytes;
  int playing;       // between a successful Play and Stop
  int faulted;       // a call crashed: the plug-in is never called again
  HMODULE library;   // null while unloaded
  InModuleRecord* plugin;
  CRITICAL_SECTION lock;  // Test runs in the interface thread, the rest in the player thread
};

// One allocation per plug-in found.
struct PluginSlot {
  PluginHost host;
  OutModuleRecord out;
  wchar_t extensions[kPluginExtensionChars + 1];
  wchar_t path[kMaxPathChars + 1];
};

// Fills up to count slots with the plug-ins in the program's folder, never
// in_wm.dll, without calling their Init. Returns the number filled.
int PluginHostEnumerate(InputModule* slots, int count);

// The slot's list from a plug-in's first extension string ("mp3;mp2" becomes
// "*.mp3;*.mp2"), cut at kPluginExtensionChars; out holds kPluginExtensionChars + 1.
void PluginExtensionList(const char* firstString, wchar_t* out);
// The path as the plug-in's ANSI routines take it: in the ANSI code page, or
// its 8.3 short form when a character has no place there. Non-zero on success.
int PluginAnsiPath(const wchar_t* path, char* out, int capacity);

// Loading and unloading, for the adapter (plugin_adapter.cpp). The caller holds the slot's lock.
int PluginLoad(PluginSlot* slot, void* owner);
void PluginUnload(PluginSlot* slot);
int PluginCreateBuffers(PluginHost* host);
void PluginFreeBuffers(PluginHost* host);
// The host whose buffers the Out_Module callbacks fill: the one playing.
void PluginSetCurrent(PluginHost* host);
// Fills the module record with the adapter's nine operations.
void PluginAdapterInstall(InputModule* module, PluginSlot* slot);
