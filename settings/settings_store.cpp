#include "settings/settings_store.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/product.h"
#include "base/text_limits.h"
#include "settings/settings_file.h"
#include "settings/settings_lists.h"
#include "settings/settings_location.h"
#include "settings/settings_values.h"

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

int StartsWithUtf8Mark(const char* bytes) { return bytes && strncmp(bytes, kUtf8Mark, 3) == 0; }

// Reads the file into the text; with the lock held. A missing file gives an empty
// text (so that it is not searched for again at every access), an empty path none.
int LoadLocked(SettingsStore* store, const wchar_t* path) {
  SettingsTextFree(&store->text);
  store->utf8 = 0;
  store->dirty = 0;
  if (store->suppress) return 0;
  const wchar_t* from = path && path[0] ? path : store->path;
  if (!from[0]) return 0;
  if (SettingsReadFile(from, &store->text)) {
    store->utf8 = StartsWithUtf8Mark(store->text.bytes);
    return 1;
  }
  SettingsTextAssign(&store->text, "", 0);
  return 0;
}

void EnsureLoaded(SettingsStore* store) {
  if (!store->text.bytes) LoadLocked(store, nullptr);
}

void CopyBounded(char* buffer, uint32_t size, const char* text) {
  if (!size) return;
  size_t length = strlen(text);
  if (length > size - 1) length = size - 1;
  memcpy(buffer, text, length);
  buffer[length] = 0;
}

// Converts count bytes with the code page into out (cut at size-1 units).
void DecodeWith(UINT codePage, const char* bytes, int count, wchar_t* out, uint32_t size) {
  out[0] = 0;
  if (count <= 0) return;
  int units = MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  if (units <= 0) return;
  wchar_t* all = static_cast<wchar_t*>(malloc((static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
  if (!all) return;
  units = MultiByteToWideChar(codePage, 0, bytes, count, all, units);
  all[units > 0 ? units : 0] = 0;
  CopyTextBounded(out, size, all);
  free(all);
}

// The UTF-8 form of value into out; non-zero when it fit.
int EncodeUtf8(const wchar_t* value, char* out, uint32_t size) {
  int length = static_cast<int>(wcslen(value));
  if (length == 0) {
    out[0] = 0;
    return 1;
  }
  int bytes = WideCharToMultiByte(CP_UTF8, 0, value, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0 || static_cast<uint32_t>(bytes) >= size) return 0;
  WideCharToMultiByte(CP_UTF8, 0, value, length, out, bytes, nullptr, nullptr);
  out[bytes] = 0;
  return 1;
}

// The ANSI form of value into out when the text survives the round trip unchanged.
int EncodeAnsiExactly(const wchar_t* value, char* out, uint32_t size) {
  int length = static_cast<int>(wcslen(value));
  int bytes = WideCharToMultiByte(CP_ACP, 0, value, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0 || static_cast<uint32_t>(bytes) >= size) return 0;
  WideCharToMultiByte(CP_ACP, 0, value, length, out, bytes, nullptr, nullptr);
  out[bytes] = 0;
  int units = MultiByteToWideChar(CP_ACP, 0, out, bytes, nullptr, 0);
  if (units != length) return 0;
  wchar_t* back = static_cast<wchar_t*>(malloc((static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
  if (!back) return 0;
  MultiByteToWideChar(CP_ACP, 0, out, bytes, back, units);
  int same = wmemcmp(back, value, static_cast<size_t>(length)) == 0;
  free(back);
  return same;
}

// After a failed save: move to the per-user file, mark it, and write there.
DWORD SaveToPerUserFile(SettingsStore* store, DWORD failure) {
  wchar_t perUser[kMaxPathChars + 1];
  if (!PerUserSettingsPath(perUser, kMaxPathChars + 1) || !perUser[0]) return failure;
  if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE | NORM_IGNOREKANATYPE, perUser, -1, store->path, -1) ==
      CSTR_EQUAL)
    return failure;
  if (SetPath(store, perUser, 0) != 0) return failure;
  WriteText(store, kSettingUseThis.section, kSettingUseThis.name, perUser);
  return SettingsWriteFile(store->path, store->text.bytes ? store->text.bytes : "", store->text.length);
}

}  // namespace

SettingsStore::SettingsStore(uint32_t optionFlags, const wchar_t* filePath) {
  SettingsStoreOpen(this, optionFlags, filePath);
}

SettingsStore::~SettingsStore() { SettingsStoreClose(this); }

SettingsStore* Settings() {
  static SettingsStore store(kSettingsTrackDesktop);
  return &store;
}

void SettingsStoreOpen(SettingsStore* store, uint32_t flags, const wchar_t* path) {
  store->text = SettingsText{};
  store->utf8 = 0;
  store->dirty = 0;
  store->suppress = 0;
  store->path[0] = 0;
  store->flags = flags;
  store->mutex = CreateMutexW(nullptr, FALSE, nullptr);
  if (path && path[0])
    SetPath(store, path, 0);
  else if (!(flags & kSettingsFixedLocation))
    LocateSettingsFile(store);
  if (flags & kSettingsTrackDesktop) RecordDesktopSize(store);
}

void SettingsStoreClose(SettingsStore* store) {
  Flush(store);
  SettingsTextFree(&store->text);
  if (store->mutex) CloseHandle(store->mutex);
  store->mutex = nullptr;
}

int SettingsLock(SettingsStore* store) {
  if (!store->mutex) return 0;
  DWORD result = WaitForSingleObject(store->mutex, kSettingsLockWaitMs);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void SettingsUnlock(SettingsStore* store) { ReleaseMutex(store->mutex); }

int ReadString(SettingsStore* store, const char* section, const char* key, const char* fallback, char* buffer,
               uint32_t size) {
  int found = 0;
  if (size) buffer[0] = 0;
  if (section && key && SettingsLock(store)) {
    EnsureLoaded(store);
    found = SettingsTextRead(store->text.bytes, section, key, buffer, size);
    SettingsUnlock(store);
  }
  if ((!found || (size && !buffer[0])) && fallback) CopyBounded(buffer, size, fallback);
  return found ? 0 : 1;
}

int ReadText(SettingsStore* store, const char* section, const char* key, const wchar_t* fallback, wchar_t* buffer,
             uint32_t size) {
  if (!size) return 1;
  buffer[0] = 0;
  // Room for every unit in UTF-8 (three bytes) and the EF BB BF prefix, so that a
  // value cut at the buffer never ends in half a character before size-1 units.
  uint64_t byteSize = 3ull * size + 4;
  char* bytes = static_cast<char*>(malloc(static_cast<size_t>(byteSize)));
  int missing = 1;
  if (bytes) {
    missing = ReadString(store, section, key, nullptr, bytes, static_cast<uint32_t>(byteSize));
    if (!missing) DecodeSettingsText(bytes, static_cast<int>(store->utf8), buffer, size);
    free(bytes);
  }
  if ((missing || !buffer[0]) && fallback) CopyTextBounded(buffer, size, fallback);
  return missing;
}

int WriteString(SettingsStore* store, const char* section, const char* key, const char* value) {
  if (store->suppress || !section || !key || !value || !SettingsLock(store)) return 0;
  EnsureLoaded(store);
  int result = SettingsTextWrite(&store->text, section, key, value);
  if (result == kTextChanged) store->dirty = 1;
  SettingsUnlock(store);
  return result != kTextFailed;
}

int WriteText(SettingsStore* store, const char* section, const char* key, const wchar_t* value) {
  if (store->suppress || !section || !key || !value || !SettingsLock(store)) return 0;
  EnsureLoaded(store);
  uint64_t size = 3ull * wcslen(value) + 4;
  char* bytes = static_cast<char*>(malloc(static_cast<size_t>(size)));
  int ok = bytes && EncodeSettingsText(value, static_cast<int>(store->utf8), bytes, static_cast<uint32_t>(size)) &&
           WriteString(store, section, key, bytes);
  free(bytes);
  SettingsUnlock(store);
  return ok;
}

uint32_t ReadInt(SettingsStore* store, const char* section, const char* key, uint32_t fallback) {
  char text[kIntegerTextBytes];
  if (ReadString(store, section, key, nullptr, text, sizeof text) != 0 || !text[0]) return fallback;
  return ParseUnsignedText(text, nullptr);
}

int WriteInt(SettingsStore* store, const char* section, const char* key, uint32_t value) {
  char text[kIntegerTextBytes];
  FormatList(text, sizeof text, &value, 1, 0, 0);
  return WriteString(store, section, key, text);
}

int ReadListValue(SettingsStore* store, const char* section, const char* key, uint32_t* values, int count) {
  char text[kListTextBytes];
  ReadString(store, section, key, nullptr, text, sizeof text);
  return ReadList(text, values, count);
}

int WriteListValue(SettingsStore* store, const char* section, const char* key, const uint32_t* values, int count,
                   int hex, int isSigned) {
  char text[kListTextBytes];
  if (!FormatList(text, sizeof text, values, count, hex, isSigned)) return 0;
  return WriteString(store, section, key, text);
}

int DeleteKey(SettingsStore* store, const char* section, const char* key) {
  if (store->suppress || !section || !key || !SettingsLock(store)) return 0;
  EnsureLoaded(store);
  int result = SettingsTextDeleteKey(&store->text, section, key);
  if (result == kTextChanged) store->dirty = 1;
  SettingsUnlock(store);
  return result != kTextFailed;
}

int DeleteSection(SettingsStore* store, const char* section) {
  if (store->suppress || !section || !SettingsLock(store)) return 0;
  EnsureLoaded(store);
  int result = SettingsTextDeleteSection(&store->text, section);
  if (result == kTextChanged) store->dirty = 1;
  SettingsUnlock(store);
  return result != kTextFailed;
}

uint32_t EnumSection(SettingsStore* store, const char* section, SettingsEnumRoutine routine, void* context) {
  if (!section || !routine || !SettingsLock(store)) return 0;
  EnsureLoaded(store);
  SettingsText copy{};
  int found = SettingsTextCopySection(store->text.bytes ? store->text.bytes : "", section, &copy);
  SettingsUnlock(store);
  uint32_t calls = found ? SettingsTextEnum(copy.bytes, section, routine, context) : 0;
  SettingsTextFree(&copy);
  return calls;
}

DWORD SetPath(SettingsStore* store, const wchar_t* path, int mode) {
  if (!path) path = L"";
  if (!SettingsLock(store)) return ERROR_TIMEOUT;
  DWORD result = 0;
  if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE | NORM_IGNOREKANATYPE, path, -1, store->path, -1) ==
      CSTR_EQUAL) {
    result = ERROR_ALREADY_EXISTS;
  } else if (path[0]) {
    const wchar_t* name = wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    if (wcspbrk(name, L"\\/:*?\"<>|"))
      result = ERROR_INVALID_NAME;
    else if (mode != 0 || SettingsFileExists(path))
      result = SettingsProbeFile(path);
  }
  if (result == 0) CopyTextBounded(store->path, kMaxPathChars + 1, path);
  SettingsUnlock(store);
  return result;
}

void Discard(SettingsStore* store) {
  if (!SettingsLock(store)) return;
  SettingsTextFree(&store->text);
  store->utf8 = 0;
  store->dirty = 0;
  SettingsUnlock(store);
}

int Load(SettingsStore* store, const wchar_t* path) {
  if (!SettingsLock(store)) return 0;
  int loaded = LoadLocked(store, path);
  SettingsUnlock(store);
  return loaded;
}

DWORD Flush(SettingsStore* store) {
  if (store->suppress || !SettingsLock(store)) return 0;
  DWORD result = 0;
  if (store->path[0] && store->dirty && store->text.bytes) {
    if (store->flags & kSettingsTrackDesktop) WriteString(store, kSettingVersion.section, kSettingVersion.name, kProductVersion);
    if (!SettingsFileMatches(store->path, store->text.bytes, store->text.length)) {
      result = SettingsWriteFile(store->path, store->text.bytes, store->text.length);
      if (result && !(store->flags & kSettingsFixedLocation)) result = SaveToPerUserFile(store, result);
    }
  }
  // A failed save keeps the change pending, so that a later save (at the latest
  // the one at exit) tries again.
  if (result == 0) store->dirty = 0;
  SettingsUnlock(store);
  return result;
}

void SuppressWrites(SettingsStore* store) { InterlockedIncrement(reinterpret_cast<volatile LONG*>(&store->suppress)); }

void ResetSuppression(SettingsStore* store) { InterlockedExchange(reinterpret_cast<volatile LONG*>(&store->suppress), 0); }

int EncodeSettingsText(const wchar_t* value, int utf8File, char* out, uint32_t size) {
  if (!size) return 0;
  out[0] = 0;
  if (utf8File) return EncodeUtf8(value, out, size);
  if (EncodeAnsiExactly(value, out, size)) return 1;
  if (size < 4 || !EncodeUtf8(value, out + 3, size - 3)) {
    out[0] = 0;
    return 0;
  }
  memcpy(out, kUtf8Mark, 3);
  return 1;
}

void DecodeSettingsText(const char* bytes, int utf8File, wchar_t* out, uint32_t size) {
  if (!size) return;
  if (StartsWithUtf8Mark(bytes))
    DecodeWith(CP_UTF8, bytes + 3, static_cast<int>(strlen(bytes + 3)), out, size);
  else
    DecodeWith(utf8File ? CP_UTF8 : CP_ACP, bytes, static_cast<int>(strlen(bytes)), out, size);
}

uint32_t ReadSetting(SettingsStore* store, const SettingsKey& key) {
  return ReadInt(store, key.section, key.name, key.fallback);
}

int WriteSetting(SettingsStore* store, const SettingsKey& key, uint32_t value) {
  return WriteInt(store, key.section, key.name, value);
}
