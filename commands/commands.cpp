// The tables derived from the command list.
#include "commands/commands.h"

#include <array>
#include <cstring>

// How the list's fields read in the tables below.
#define PLACE(menu, position) MenuPlaces{{{kMenu##menu, position}, {0, 0}}}
#define PLACES(menu1, position1, menu2, position2) MenuPlaces{{{kMenu##menu1, position1}, {kMenu##menu2, position2}}}
#define NOPLACE MenuPlaces{}
#define KEY(code) static_cast<uint16_t>(code)
#define NOKEY uint16_t{0}
#define String kMenuTypeString
#define RightJustify kMenuTypeRightJustify

constexpr CommandDecl kCommandDecls[] = {
#define TPWR_POPUP(id, Name, key, place, type, english, german) \
  {id, kKindPopup, nullptr, place, type, kRuleAlways, 0},
#define TPWR_COMMAND(id, Name, key, places, rule, keys, handler, english, german) \
  {id, kKindCommand, #Name, places, kMenuTypeString, kRule##rule, keys},
#define TPWR_MENU_COMMAND(id, Name, key, places, handler, english, german) \
  {id, kKindMenuCommand, nullptr, places, kMenuTypeString, kRuleAlways, 0},
#define TPWR_INTERNAL(id, Name, handler) {id, kKindInternal, nullptr, NOPLACE, kMenuTypeString, kRuleAlways, 0},
#include "commands/command_list.h"
};
const size_t kCommandDeclCount = sizeof kCommandDecls / sizeof kCommandDecls[0];

namespace {

constexpr size_t CountIf(bool (*wanted)(const CommandDecl&)) {
  size_t count = 0;
  for (const CommandDecl& decl : kCommandDecls)
    if (wanted(decl)) ++count;
  return count;
}

constexpr bool IsNamed(const CommandDecl& decl) { return decl.name != nullptr; }
constexpr bool HasKey(const CommandDecl& decl) { return decl.defaultKey != 0; }
constexpr bool CanGrey(const CommandDecl& decl) { return decl.rule != kRuleAlways; }

// Each table keeps the list's order and ends with a zero entry.
constexpr std::array<CommandName, CountIf(IsNamed) + 1> CollectNames() {
  std::array<CommandName, CountIf(IsNamed) + 1> names{};
  size_t at = 0;
  for (const CommandDecl& decl : kCommandDecls)
    if (IsNamed(decl)) names[at++] = {decl.places.at[0].menu, decl.id, decl.name};
  return names;
}

constexpr std::array<ShortcutBinding, CountIf(HasKey) + 1> CollectDefaultKeys() {
  std::array<ShortcutBinding, CountIf(HasKey) + 1> bindings{};
  size_t at = 0;
  for (const CommandDecl& decl : kCommandDecls)
    if (HasKey(decl)) bindings[at++] = {decl.defaultKey, decl.id};
  return bindings;
}

constexpr std::array<CommandState, CountIf(CanGrey) + 1> CollectStates() {
  std::array<CommandState, CountIf(CanGrey) + 1> states{};
  size_t at = 0;
  for (const CommandDecl& decl : kCommandDecls)
    if (CanGrey(decl)) states[at++] = {decl.id, decl.rule, kCommandEnabled, kCommandEnabled};
  return states;
}

constexpr auto kNames = CollectNames();
constexpr auto kDefaultKeys = CollectDefaultKeys();
std::array<CommandState, CountIf(CanGrey) + 1> gStates = CollectStates();

uint8_t GrayedWhen(int condition) { return condition ? kCommandGrayed : kCommandEnabled; }

uint8_t StateFor(CommandRule rule, const EditorFacts* facts) {
  switch (rule) {
    case kRuleCanUndo: return GrayedWhen(!facts->canUndo);
    case kRuleSelection: return GrayedWhen(facts->selectionEmpty);
    case kRuleClipboardText: return GrayedWhen(!facts->clipboardHasText);
    case kRuleNoFindDialog: return GrayedWhen(facts->findDialogOpen);
    case kRuleAlways: break;
  }
  return kCommandEnabled;
}

const CommandName* FindCommandName(uint16_t command) {
  if (command == 0) return nullptr;
  for (const CommandName* entry = kCommandNames; entry->command; entry++)
    if (entry->command == command) return entry;
  return nullptr;
}

}  // namespace

const CommandName* const kCommandNames = kNames.data();
const ShortcutBinding* const kDefaultShortcuts = kDefaultKeys.data();
CommandState* const gCommandStates = gStates.data();

const CommandDecl* FindCommandDecl(uint16_t id) {
  for (const CommandDecl& decl : kCommandDecls)
    if (decl.id == id) return &decl;
  return nullptr;
}

const char* CommandNameForId(uint16_t command) {
  const CommandName* entry = FindCommandName(command);
  return entry ? entry->name : nullptr;
}

uint16_t CommandIdForName(const char* name) {
  if (!name) return 0;
  for (const CommandName* entry = kCommandNames; entry->command; entry++)
    if (strcmp(entry->name, name) == 0) return entry->command;
  return 0;
}

uint16_t CommandMenuForId(uint16_t command) {
  const CommandName* entry = FindCommandName(command);
  return entry ? entry->menu : 0;
}

size_t CommandNameCount() { return kNames.size() - 1; }

void ComputeCommandStates(const EditorFacts* facts) {
  for (CommandState* entry = gCommandStates; entry->command; entry++) entry->newState = StateFor(entry->rule, facts);
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
  for (const CommandState* entry = gCommandStates; entry->command; entry++)
    if (entry->command == command) return entry->newState == kCommandGrayed;
  return 0;
}

void ResetCommandStates() {
  for (CommandState* entry = gCommandStates; entry->command; entry++) {
    entry->newState = kCommandEnabled;
    entry->lastState = kCommandEnabled;
  }
}
