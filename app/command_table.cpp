// Command name table and command state table.
#include "app/command_table.h"

#include <cstring>

#include "app/command_ids.h"

const CommandName kCommandNames[] = {
    {kMenuFile, kCmdFileNew, "FileNew"},
    {kMenuFile, kCmdFileOpen, "FileOpen"},
    {kMenuFile, kCmdFileSave, "FileSave"},
    {kMenuFile, kCmdFileSaveAs, "FileSaveAs"},
    {kMenuFile, kCmdFilePrint, "FilePrint"},
    {kMenuFile, kCmdSendMail, "SendMail"},
    {kMenuFile, kCmdExit, "Exit"},
    {kMenuEdit, kCmdUndo, "Undo"},
    {kMenuEdit, kCmdCut, "Cut"},
    {kMenuEdit, kCmdCopy, "Copy"},
    {kMenuEdit, kCmdPaste, "Paste"},
    {kMenuEdit, kCmdClear, "Clear"},
    {kMenuEdit, kCmdSelectAll, "SelectAll"},
    {kMenuView, kCmdToolbar, "Toolbar"},
    {kMenuView, kCmdStatusbar, "Statusbar"},
    {kMenuView, kCmdWordwrap, "Wordwrap"},
    {kMenuInsert, kCmdInsDateTime, "InsDateTime"},
    {kMenuInsert, kCmdInsVersion, "InsVersion"},
    {kMenuInsert, kCmdInsTxtPath, "InsTxtPath"},
    {kMenuInsert, kCmdInsTxtVerb, "InsTxtVerb"},
    {kMenuInsert, kCmdInsSndPath, "InsSndPath"},
    {kMenuInsert, kCmdInsSndVerb, "InsSndVerb"},
    {kMenuInsert, kCmdInsSndCue, "InsSndCue"},
    {kMenuSearch, kCmdFind, "Find"},
    {kMenuSearch, kCmdFindNext, "FindNext"},
    {kMenuSearch, kCmdReplace, "Replace"},
    {kMenuSearch, kCmdGoTo, "GoTo"},
    // Open audio file sits in File and Audio player; it belongs to the player.
    {kMenuPlayer, kCmdPlay, "Play"},
    {kMenuPlayer, kCmdStop, "Stop"},
    {kMenuPlayer, kCmdPause, "Pause"},
    {kMenuPlayer, kCmdRew, "Rew"},
    {kMenuPlayer, kCmdFF, "FF"},
    {kMenuPlayer, kCmdAmpFileOpen, "AmpFileOpen"},
    {kMenuOptions, kCmdOptToolbar, "OptToolbar"},
    {kMenuOptions, kCmdFont, "Font"},
    {kMenuOptions, kCmdConfig, "Config"},
    {kMenuOptions, kCmdOptBack, "OptBack"},
    {kMenuOptions, kCmdOptRest, "OptRest"},
    {kMenuOptions, kCmdLanguage, "Language"},
    {kMenuHelp, kCmdHelpKeys, "HelpKeys"},
    {kMenuHelp, kCmdGoOnline, "GoOnline"},
    {kMenuHelp, kCmdChkUpd, "ChkUpd"},
    {kMenuHelp, kCmdAbout, "About"},
    {0, 0, nullptr},
};

CommandState gCommandStates[] = {
    {kCmdUndo, kCommandEnabled, kCommandEnabled},    {kCmdCut, kCommandEnabled, kCommandEnabled},
    {kCmdCopy, kCommandEnabled, kCommandEnabled},    {kCmdPaste, kCommandEnabled, kCommandEnabled},
    {kCmdClear, kCommandEnabled, kCommandEnabled},   {kCmdFind, kCommandEnabled, kCommandEnabled},
    {kCmdFindNext, kCommandEnabled, kCommandEnabled}, {kCmdReplace, kCommandEnabled, kCommandEnabled},
    {0, 0, 0},
};

namespace {

const CommandName* FindCommandName(uint16_t command) {
  if (command == 0) return nullptr;
  for (const CommandName* entry = kCommandNames; entry->command; entry++) {
    if (entry->command == command) return entry;
  }
  return nullptr;
}

uint8_t GrayedWhen(int condition) { return condition ? kCommandGrayed : kCommandEnabled; }

uint8_t StateFor(uint16_t command, const EditorFacts* facts) {
  switch (command) {
    case kCmdUndo: return GrayedWhen(!facts->canUndo);
    case kCmdCut:
    case kCmdCopy:
    case kCmdClear: return GrayedWhen(facts->selectionEmpty);
    case kCmdPaste: return GrayedWhen(!facts->clipboardHasText);
    case kCmdFind:
    case kCmdFindNext:
    case kCmdReplace: return GrayedWhen(facts->findDialogOpen);
    default: return kCommandEnabled;
  }
}

}  // namespace

const char* CommandNameForId(uint16_t command) {
  const CommandName* entry = FindCommandName(command);
  return entry ? entry->name : nullptr;
}

uint16_t CommandIdForName(const char* name) {
  if (!name) return 0;
  for (const CommandName* entry = kCommandNames; entry->command; entry++) {
    if (strcmp(entry->name, name) == 0) return entry->command;
  }
  return 0;
}

uint16_t CommandMenuForId(uint16_t command) {
  const CommandName* entry = FindCommandName(command);
  return entry ? entry->menu : 0;
}

size_t CommandNameCount() {
  size_t count = 0;
  while (kCommandNames[count].command) count++;
  return count;
}

void ComputeCommandStates(const EditorFacts* facts) {
  for (CommandState* entry = gCommandStates; entry->command; entry++) entry->newState = StateFor(entry->command, facts);
}

int ApplyCommandStates(int force, void (*apply)(void* context, uint16_t command, uint8_t state), void* context) {
  int applied = 0;
  for (CommandState* entry = gCommandStates; entry->command; entry++) {
    if (!force && entry->newState == entry->lastState) continue;
    if (apply) apply(context, entry->command, entry->newState);
    entry->lastState = entry->newState;
    applied++;
  }
  return applied;
}

int IsCommandDisabled(uint16_t command) {
  for (const CommandState* entry = gCommandStates; entry->command; entry++) {
    if (entry->command == command) return entry->newState == kCommandGrayed;
  }
  return 0;
}

void ResetCommandStates() {
  for (CommandState* entry = gCommandStates; entry->command; entry++) {
    entry->newState = kCommandEnabled;
    entry->lastState = kCommandEnabled;
  }
}
