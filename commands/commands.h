// The commands: their numbers, fixed names, menu places, greyed-state rules
// and default shortcuts, all derived from the one list in command_list.h. A
// command's number is also its WM_COMMAND identifier, its text identifier in
// the language tables and, where it has an icon, its icon resource number.
// Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

// The modifier bits of a shortcut code (virtual-key code in bits 0-7).
constexpr uint16_t kKeyAlt = 0x100;
constexpr uint16_t kKeyCtrl = 0x200;
constexpr uint16_t kKeyShift = 0x400;

enum CommandId : uint16_t {
#define TPWR_POPUP(id, Name, ...) kMenu##Name = id,
#define TPWR_COMMAND(id, Name, ...) kCmd##Name = id,
#define TPWR_MENU_COMMAND(id, Name, ...) kCmd##Name = id,
#define TPWR_INTERNAL(id, Name, ...) kCmd##Name = id,
#include "commands/command_list.h"
};

// Menus that are not popups of their own: the menu bar and the editor's context menu.
constexpr uint16_t kMenuBar = 0;
constexpr uint16_t kMenuContext = 0xFFFE;
// Menu separator identifier (-1 as a signed 16-bit value).
constexpr uint16_t kMenuSeparatorId = 0xFFFF;

// Menu item type flags, with the values of the Win32 MFT_ constants.
constexpr uint32_t kMenuTypeString = 0;
constexpr uint32_t kMenuTypeSeparator = 0x800;
constexpr uint32_t kMenuTypeRightJustify = 0x4000;

// When a command is greyed.
enum CommandRule : uint8_t {
  kRuleAlways,         // never
  kRuleCanUndo,        // the editor cannot undo
  kRuleSelection,      // the selection is empty
  kRuleClipboardText,  // the clipboard holds no text
  kRuleNoFindDialog,   // the Find or Replace dialog is open
};

enum CommandKind : uint8_t { kKindPopup, kKindCommand, kKindMenuCommand, kKindInternal };

// Where an item stands: a menu and a position in it (0: nowhere).
struct MenuPlace {
  uint16_t menu;
  uint16_t position;
};
constexpr int kMenuPlaces = 2;
struct MenuPlaces {
  MenuPlace at[kMenuPlaces];
};

struct CommandDecl {
  uint16_t id;
  CommandKind kind;
  const char* name;  // the fixed command name; null when it has none
  MenuPlaces places;
  uint32_t menuType;
  CommandRule rule;
  uint16_t defaultKey;  // default shortcut code, 0 = none
};

extern const CommandDecl kCommandDecls[];
extern const size_t kCommandDeclCount;
// The declaration of an id, or null.
const CommandDecl* FindCommandDecl(uint16_t id);

// One command that can be bound to a shortcut or placed on the toolbar, in the
// order of the list; the table ends with command 0.
struct CommandName {
  uint16_t menu;     // the popup the command belongs to
  uint16_t command;  // 0 ends the table
  const char* name;
};
extern const CommandName* const kCommandNames;

const char* CommandNameForId(uint16_t command);  // null when the command has no name
uint16_t CommandIdForName(const char* name);     // 0 when no command has that name
uint16_t CommandMenuForId(uint16_t command);     // 0 when the command has no name
size_t CommandNameCount();

// Greyed state of a command, as MF_GRAYED: 0 enabled, 1 greyed.
constexpr uint8_t kCommandEnabled = 0;
constexpr uint8_t kCommandGrayed = 1;

// Every command whose rule is not kRuleAlways, with its state.
struct CommandState {
  uint16_t command;  // 0 ends the table
  CommandRule rule;
  uint8_t newState;
  uint8_t lastState;  // as last applied to the menu and the toolbar
};
extern CommandState* const gCommandStates;

// What the states depend on, asked from the editor and the system each time.
struct EditorFacts {
  int canUndo;
  int selectionEmpty;
  int clipboardHasText;
  int findDialogOpen;
};

// Computes the new state of every entry.
void ComputeCommandStates(const EditorFacts* facts);
// Calls apply for every entry whose new state differs from the last applied one,
// or for every entry when force is set, and records the state as applied.
// Returns the number of entries applied.
int ApplyCommandStates(int force, void (*apply)(void* context, uint16_t command, uint8_t state), void* context);
// Non-zero when the command is in the table and currently greyed.
int IsCommandDisabled(uint16_t command);
// Back to all enabled and nothing applied (start of a run).
void ResetCommandStates();

// The default shortcuts, one per command that has one; ends with code 0.
struct ShortcutBinding {
  uint16_t code;  // 0 ends a list
  uint16_t command;
};
extern const ShortcutBinding* const kDefaultShortcuts;
