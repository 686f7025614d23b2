// Module table set-up, tear-down and file matching.
#include "module_table.h"

#include <windows.h>

#include <cstring>

#include "base/paths.h"
#include "base/text_limits.h"
#include "formats/ffmpeg/media_module.h"
#include "formats/flac/flac_module.h"
#include "formats/mpeg/mpeg_module.h"
#include "formats/ogg/ogg_module.h"
#include "formats/wav/wav_module.h"
#include "formats/wma/wma_module.h"
#include "player/plugin_host.h"

namespace {

// Ordinary wildcard match, '*' any run and '?' one character, on upper-cased text.
int WildcardMatch(const wchar_t* pattern, const wchar_t* text) {
  const wchar_t* star = nullptr;
  const wchar_t* resume = nullptr;
  while (*text) {
    if (*pattern == L'*') {
      star = pattern++;
      resume = text;
    } else if (*pattern == L'?' || *pattern == *text) {
      ++pattern;
      ++text;
    } else if (star) {
      pattern = star + 1;
      text = ++resume;
    } else {
      return 0;
    }
  }
  while (*pattern == L'*') ++pattern;
  return *pattern == 0;
}

// A pattern matches when its base part matches the name's base and its part
// after the last dot matches the name's extension, as a rename template would.
int PatternMatchesName(wchar_t* pattern, const wchar_t* name) {
  wchar_t upperName[kMaxPathChars + 1];
  CopyTextBounded(upperName, kMaxPathChars + 1, name);
  CharUpperBuffW(upperName, static_cast<DWORD>(wcslen(upperName)));
  CharUpperBuffW(pattern, static_cast<DWORD>(wcslen(pattern)));
  wchar_t* patternDot = wcsrchr(pattern, L'.');
  wchar_t* nameDot = wcsrchr(upperName, L'.');
  if (!patternDot) return !nameDot && WildcardMatch(pattern, upperName);
  if (!nameDot) return 0;
  *patternDot = 0;
  *nameDot = 0;
  return WildcardMatch(pattern, upperName) && WildcardMatch(patternDot + 1, nameDot + 1);
}

}  // namespace

void ModuleTableSetUp(ModuleTable* table) {
  memset(table, 0, sizeof *table);
  MpegModuleSetUp(&table->slots[kSlotMpeg]);
  OggModuleSetUp(&table->slots[kSlotOgg]);
  FlacModuleSetUp(&table->slots[kSlotFlac]);
  WmaModuleSetUp(&table->slots[kSlotWma]);
  WavModuleSetUp(&table->slots[kSlotWav]);
  PluginHostEnumerate(&table->slots[kBuiltInSlots], kPluginSlotsEnd - kBuiltInSlots);
  MediaModuleSetUp(&table->slots[kSlotMedia]);
}

void ModuleTableTearDown(ModuleTable* table) {
  for (InputModule& module : table->slots)
    if (module.Release) module.Release(&module);
  memset(table, 0, sizeof *table);
}

int ExtensionMatch(const wchar_t* path, const wchar_t* list) {
  const wchar_t* name = FileNamePart(path);
  wchar_t patterns[kMaxPathChars];
  CopyTextBounded(patterns, kMaxPathChars, list);
  wchar_t* next = patterns;
  while (next) {
    wchar_t* pattern = next;
    next = wcschr(next, L';');
    if (next) *next++ = 0;
    if (*pattern && PatternMatchesName(pattern, name)) return 1;
  }
  return 0;
}

int ExtensionShortcutSlot(const wchar_t* path) {
  const wchar_t* dot = wcsrchr(path, L'.');
  if (!dot || wcschr(dot, L'\\') || wcschr(dot, L'/')) return -1;
  wchar_t wide[16];
  CopyTextBounded(wide, 16, dot + 1);  // more than seven bytes' worth
  char extension[64] = {};
  if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, extension, sizeof extension, nullptr, nullptr)) return -1;
  extension[7] = 0;  // cut to seven bytes
  CharUpperA(extension);
  static const struct {
    char key[4];
    int slot;
  } kShortcuts[] = {
      {{'M', 'P', '3', 0}, kSlotMpeg}, {{'M', 'P', '1', 0}, kSlotMpeg}, {{'M', 'P', '2', 0}, kSlotMpeg},
      {{'M', 'P', 'P', 0}, kSlotMpeg}, {{'O', 'G', 'G', 0}, kSlotOgg},  {{'F', 'L', 'A', 'C'}, kSlotFlac},
      {{'W', 'M', 'A', 0}, kSlotWma},  {{'W', 'A', 'V', 0}, kSlotWav},
  };
  for (const auto& entry : kShortcuts)
    if (memcmp(extension, entry.key, 4) == 0) return entry.slot;
  return -1;
}

int ModuleLookup(ModuleTable* table, void* owner, const wchar_t* path) {
  wchar_t copy[kMaxPathChars + 1];
  CopyTextBounded(copy, kMaxPathChars + 1, path);
  for (int slot = 0; slot < kPluginSlotsEnd; ++slot) {
    InputModule* module = &table->slots[slot];
    if (!module->extensions || !ExtensionMatch(copy, module->extensions)) continue;
    // The first module whose list matches decides alone.
    return module->Test && module->Test(module, owner, copy) ? slot + 1 : 0;
  }
  for (int slot = kBuiltInSlots; slot < kPluginSlotsEnd; ++slot) {
    InputModule* module = &table->slots[slot];
    if (module->Test && module->Test(module, owner, copy)) return slot + 1;
  }
  // Phone and web recordings last, after every plug-in has had its say.
  InputModule* media = &table->slots[kSlotMedia];
  if (media->extensions && ExtensionMatch(copy, media->extensions) && media->Test && media->Test(media, owner, copy))
    return kSlotMedia + 1;
  return 0;
}

int ModuleClaims(ModuleTable* table, void* owner, const wchar_t* path) {
  for (const InputModule& module : table->slots)
    if (module.extensions && ExtensionMatch(path, module.extensions)) return 1;
  return ModuleLookup(table, owner, path) != 0;
}

int ModuleTableOpenFile(ModuleTable* table, int slot, void* owner, const wchar_t* path, FileInfoBlock* block) {
  if (slot < 0) slot = ModuleLookup(table, owner, path) - 1;
  if (slot < 0 || slot >= kModuleSlots) {
    block->path[0] = 0;
    return 0;
  }
  if (table->current) {
    if (table->current->Close) table->current->Close(table->current);
    table->current = nullptr;
  }
  memset(block, 0, sizeof *block);
  CopyTextBounded(block->path, kMaxPathChars + 1, path);
  InputModule* module = &table->slots[slot];
  if (module->Open && module->Open(module, owner, block->path)) {
    table->currentIndex = slot;
    table->current = module;
    return 1;
  }
  block->path[0] = 0;
  return 0;
}
