// Find and Replace: the modeless dialog while it is open, the message it
// sends to its owner, and the options kept in the OptFind setting.
#pragma once
#include <windows.h>

#include <cstdint>

struct FindState {
  HWND dialog;           // the open Find or Replace dialog, else null
  UINT message;          // "commdlg_FindReplace"
  uint32_t options;      // OptFind
};
extern FindState gFind;

// Start of a run: the registered message and the stored options.
void FindReplaceStart();
void FindReplaceSaveOptions();
