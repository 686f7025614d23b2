// The menus' shape: identifiers in the order shown, separators as bars.
#include "app/menu_definitions.h"

#include "app/command_ids.h"

namespace {

constexpr MenuDefinition Item(uint16_t id) { return {id, kMenuTypeString, nullptr}; }
constexpr MenuDefinition Popup(uint16_t id, const MenuDefinition* children) { return {id, kMenuTypeString, children}; }
constexpr MenuDefinition kBar = {kMenuSeparatorId, kMenuTypeSeparator, nullptr};
constexpr MenuDefinition kEnd = {0, 0, nullptr};

constexpr MenuDefinition kFileMenu[] = {
    Item(kCmdFileNew), Item(kCmdFileOpen),  Item(kCmdAmpFileOpen), kBar, Item(kCmdFileSave),
    Item(kCmdFileSaveAs), kBar,             Item(kCmdFilePrint),  Item(kCmdSendMail), kBar,
    Item(kCmdExit),    kEnd,
};

constexpr MenuDefinition kEditMenu[] = {
    Item(kCmdUndo),  kBar, Item(kCmdCut), Item(kCmdCopy), Item(kCmdPaste), kBar, Item(kCmdClear),
    Item(kCmdSelectAll), kEnd,
};

constexpr MenuDefinition kViewMenu[] = {
    Item(kCmdToolbar), Item(kCmdStatusbar), kBar, Item(kCmdWordwrap), kEnd,
};

constexpr MenuDefinition kInsertMenu[] = {
    Item(kCmdInsDateTime), Item(kCmdInsVersion), kBar, Item(kCmdInsTxtPath), Item(kCmdInsTxtVerb), kBar,
    Item(kCmdInsSndPath),  Item(kCmdInsSndVerb), Item(kCmdInsSndCue), kEnd,
};

constexpr MenuDefinition kSearchMenu[] = {
    Item(kCmdFind), Item(kCmdFindNext), Item(kCmdReplace), kBar, Item(kCmdGoTo), kEnd,
};

constexpr MenuDefinition kPlayerMenu[] = {
    Item(kCmdPlay), Item(kCmdStop), Item(kCmdPause), kBar, Item(kCmdRew), Item(kCmdFF), kBar,
    Item(kCmdAmpFileOpen), kEnd,
};

constexpr MenuDefinition kDarkModeMenu[] = {
    Item(kCmdDarkDisable), Item(kCmdDarkAllow), Item(kCmdDarkForce), kEnd,
};

constexpr MenuDefinition kOptionsMenu[] = {
    Item(kCmdOptToolbar), kBar, Item(kCmdFont), Popup(kMenuDarkMode, kDarkModeMenu), Item(kCmdConfig), kBar,
    Item(kCmdOptBack), Item(kCmdOptRest), Item(kCmdResetSettings), kBar, Item(kCmdLanguage), kEnd,
};

constexpr MenuDefinition kHelpMenu[] = {
    Item(kCmdHelpContents), kBar, Item(kCmdHelpKeys), Item(kCmdGoOnline), Item(kCmdChkUpd), kBar, Item(kCmdAbout),
    kEnd,
};

}  // namespace

const MenuDefinition kMainMenuDefinition[] = {
    Popup(kMenuFile, kFileMenu),
    Popup(kMenuEdit, kEditMenu),
    Popup(kMenuView, kViewMenu),
    Popup(kMenuInsert, kInsertMenu),
    Popup(kMenuSearch, kSearchMenu),
    Popup(kMenuPlayer, kPlayerMenu),
    Popup(kMenuOptions, kOptionsMenu),
    {kMenuHelp, kMenuTypeRightJustify, kHelpMenu},
    kEnd,
};

const MenuDefinition kContextMenuDefinition[] = {
    Item(kCmdUndo),  kBar, Item(kCmdCut),   Item(kCmdCopy), Item(kCmdPaste), kBar, Item(kCmdClear),
    Item(kCmdSelectAll), kBar, Item(kCmdPlay), Item(kCmdStop), Item(kCmdPause), kBar, Item(kCmdRew),
    Item(kCmdFF),    kEnd,
};

const uint16_t kMenuIconCommands[] = {
    kCmdExit,     kCmdFileNew,   kCmdFileOpen,   kCmdFileSave,   kCmdFileSaveAs, kCmdFilePrint,
    kCmdSendMail, kCmdUndo,      kCmdCut,        kCmdCopy,       kCmdPaste,      kCmdClear,
    kCmdFind,     kCmdFindNext,  kCmdReplace,    kCmdGoTo,       kCmdFont,       kCmdConfig,
    kCmdLanguage, kCmdHelpContents, kCmdHelpKeys, kCmdGoOnline,  kCmdChkUpd,     kCmdAbout,
    kCmdRew,      kCmdPlay,      kCmdPause,      kCmdStop,       kCmdFF,         kCmdAmpFileOpen,
    0,
};
