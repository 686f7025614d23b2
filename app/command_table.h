// Command names (language-independent; they key the shortcut table and the
// toolbar layout) and the greyed state of the commands that depend on the editor.
#pragma once
#include <cstddef>
#include <cstdint>

// One command that can be bound to a shortcut or placed on the toolbar.
struct CommandName {
  uint16_t menu;     // the popup the command belongs to
  uint16_t command;  // 0 ends the table
  const char* name;
};
extern const CommandName kCommandNames[];

const char* CommandNameForId(uint16_t command);  // null when the command has no name
uint16_t CommandIdForName(const char* name);     // 0 when no command has that name
uint16_t CommandMenuForId(uint16_t command);     // 0 when the command has no name
size_t CommandNameCount();

// Greyed state of a command, as MF_GRAYED: 0 enabled, 1 greyed.
constexpr uint8_t kCommandEnabled = 0;
constexpr uint8_t kCommandGrayed = 1;

struct CommandState {
  uint16_t command;  // 0 ends the table
  uint8_t newState;
  uint8_t lastState;  // as last applied to the menu and the toolbar
};
extern CommandState gCommandStates[];

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
