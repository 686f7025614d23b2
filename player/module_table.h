// The module table: the built-in decoders and plug-in adapters in fixed slots,
// and how a file is matched to the module that plays it.
#pragma once
#include "formats/input_module.h"

// Built-in slots first, then the plug-ins', then the module for phone and web
// recordings, so that a plug-in that takes one of its files plays it.
constexpr int kModuleSlots = 21;
constexpr int kBuiltInSlots = 5;
constexpr int kPluginSlotsEnd = 20;
enum ModuleSlot { kSlotMpeg = 0, kSlotOgg = 1, kSlotFlac = 2, kSlotWma = 3, kSlotWav = 4, kSlotMedia = 20 };

struct ModuleTable {
  InputModule slots[kModuleSlots];
  int currentIndex;        // slot of the module that opened the current file
  InputModule* current;    // null while no file is open for decoding
};

// Fills the built-in slots in order, then the slots from kBuiltInSlots to
// kPluginSlotsEnd with the plug-ins beside the program, then kSlotMedia.
void ModuleTableSetUp(ModuleTable* table);
// Releases every slot in order and zeroes the table.
void ModuleTableTearDown(ModuleTable* table);

// Non-zero when one ";"-separated wildcard pattern of list matches the file name.
int ExtensionMatch(const wchar_t* path, const wchar_t* list);
// The built-in slot that the file's extension names, or -1 to let the player search.
int ExtensionShortcutSlot(const wchar_t* path);
// 1-based slot of the module that takes the file, or 0: the first built-in or
// plug-in whose extensions match decides; otherwise the first plug-in whose
// Test takes it; otherwise the module for phone and web recordings, if its
// list names the file and its Test takes it.
int ModuleLookup(ModuleTable* table, void* owner, const wchar_t* path);
// Non-zero when the file is a module's: its extension is in a module's list
// (whether or not that module can open it), or a plug-in's Test takes it.
int ModuleClaims(ModuleTable* table, void* owner, const wchar_t* path);

// Opens path with the module in slot (negative: look it up). Clears the block
// and stores the path in it first; on failure the stored path is cleared again.
// Non-zero on success, with current and currentIndex set.
int ModuleTableOpenFile(ModuleTable* table, int slot, void* owner, const wchar_t* path, FileInfoBlock* block);
