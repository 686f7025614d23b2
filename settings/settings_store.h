// The settings store: one INI-style file held in memory as 8-bit text, loaded on
// first access, edited in place and written back only when it changed and differs
// from the file on disk. Every operation takes the store's mutex with a wait of at
// most kSettingsLockWaitMs; on time-out it does nothing (reads give the default).
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/text_limits.h"
#include "settings/settings_keys.h"
#include "settings/settings_text.h"

// Option bits of SettingsStore::flags.
constexpr uint32_t kSettingsFixedLocation = 1;  // no search at start, no per-user fallback on a failed save
constexpr uint32_t kSettingsTrackDesktop = 2;   // record the desktop size, write Version at every save
constexpr uint32_t kSettingsNoWindowPos = 4;    // window positions are not written
constexpr uint32_t kSettingsDesktopChanged = 8; // desktop differs in both sizes: stored fonts are not read

constexpr DWORD kSettingsLockWaitMs = 50;

struct SettingsStore {
  HANDLE mutex;       // unnamed, guards every operation
  SettingsText text;  // the whole file; bytes null while not loaded
  uint32_t utf8;      // the loaded text starts with EF BB BF: every text value is UTF-8
  uint32_t dirty;     // changed since the last successful save
  uint32_t flags;
  uint32_t suppress;  // while non-zero nothing is written, deleted or saved
  wchar_t path[kMaxPathChars + 1];

  // Construction and destruction run SettingsStoreOpen and SettingsStoreClose, so
  // that a static store lives exactly as long as the program.
  explicit SettingsStore(uint32_t optionFlags, const wchar_t* filePath = nullptr);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
};

// The program's own store (flags kSettingsTrackDesktop, location searched), built
// on first use and flushed at exit.
SettingsStore* Settings();

void SettingsStoreOpen(SettingsStore* store, uint32_t flags, const wchar_t* path);
void SettingsStoreClose(SettingsStore* store);

// Bounded lock for the store's own routines and for callers that need several
// operations as one step; non-zero when taken.
int SettingsLock(SettingsStore* store);
void SettingsUnlock(SettingsStore* store);

// Returns 0 when the key was found, 1 otherwise (then the default, if any, is copied).
int ReadString(SettingsStore* store, const char* section, const char* key, const char* fallback, char* buffer,
               uint32_t size);
int ReadText(SettingsStore* store, const char* section, const char* key, const wchar_t* fallback, wchar_t* buffer,
             uint32_t size);
// Writes return non-zero when the entry now holds the value.
int WriteString(SettingsStore* store, const char* section, const char* key, const char* value);
int WriteText(SettingsStore* store, const char* section, const char* key, const wchar_t* value);
uint32_t ReadInt(SettingsStore* store, const char* section, const char* key, uint32_t fallback);
int WriteInt(SettingsStore* store, const char* section, const char* key, uint32_t value);
// A number list held under a key: ReadList on its value / FormatList then WriteString.
int ReadListValue(SettingsStore* store, const char* section, const char* key, uint32_t* values, int count);
int WriteListValue(SettingsStore* store, const char* section, const char* key, const uint32_t* values, int count,
                   int hex, int isSigned);
int DeleteKey(SettingsStore* store, const char* section, const char* key);
int DeleteSection(SettingsStore* store, const char* section);
// Calls routine for every entry of the section (on a copy, without holding the
// store, so the routine may use the store). Returns the number of calls.
uint32_t EnumSection(SettingsStore* store, const char* section, SettingsEnumRoutine routine, void* context);

// 0 on success, else a system error code; the path is unchanged on failure.
// Mode 0: a missing file is accepted untested; modes 1 and 2 (and an existing file
// in mode 0) require that the file opens for reading and writing.
DWORD SetPath(SettingsStore* store, const wchar_t* path, int mode);
void Discard(SettingsStore* store);
// Drops the text and reads path (or the store's own path); non-zero when a file was read.
int Load(SettingsStore* store, const wchar_t* path);
// Writes the text when it changed and differs from the file; 0 or a system error code.
// The store stays dirty until a save succeeds.
DWORD Flush(SettingsStore* store);
void SuppressWrites(SettingsStore* store);
void ResetSuppression(SettingsStore* store);

// Encoding of text values outside UTF-8 files: the ANSI code page when the text
// survives the round trip, else EF BB BF and UTF-8. Non-zero when it fit into out.
int EncodeSettingsText(const wchar_t* value, int utf8File, char* out, uint32_t size);
// Decodes a stored value (EF BB BF prefix or a UTF-8 file: UTF-8, else the ANSI
// code page), cut at size-1 units.
void DecodeSettingsText(const char* bytes, int utf8File, wchar_t* out, uint32_t size);
