// Command and text identifiers. A command's number is also its WM_COMMAND
// identifier, its text identifier in the language tables and, where the menus
// show an icon, its icon resource number.
#pragma once
#include <cstdint>

// Popups of the main menu (their texts are the popup labels and help).
constexpr uint16_t kMenuFile = 101;
constexpr uint16_t kMenuEdit = 110;
constexpr uint16_t kMenuView = 120;
constexpr uint16_t kMenuInsert = 131;
constexpr uint16_t kMenuSearch = 141;
constexpr uint16_t kMenuPlayer = 161;
constexpr uint16_t kMenuDarkMode = 170;  // popup inside Options
constexpr uint16_t kMenuOptions = 180;
constexpr uint16_t kMenuHelp = 190;

// File.
constexpr uint16_t kCmdExit = 100;
constexpr uint16_t kCmdFileNew = 102;
constexpr uint16_t kCmdFileOpen = 103;
constexpr uint16_t kCmdFileSave = 105;
constexpr uint16_t kCmdFileSaveAs = 106;
constexpr uint16_t kCmdFilePrint = 107;
constexpr uint16_t kCmdSendMail = 108;

// Edit.
constexpr uint16_t kCmdUndo = 111;
constexpr uint16_t kCmdCut = 112;
constexpr uint16_t kCmdCopy = 114;
constexpr uint16_t kCmdPaste = 115;
constexpr uint16_t kCmdClear = 116;
constexpr uint16_t kCmdSelectAll = 117;

// View.
constexpr uint16_t kCmdToolbar = 121;
constexpr uint16_t kCmdStatusbar = 122;
constexpr uint16_t kCmdWordwrap = 123;

// Insert.
constexpr uint16_t kCmdInsDateTime = 132;
constexpr uint16_t kCmdInsVersion = 133;
constexpr uint16_t kCmdInsTxtPath = 134;
constexpr uint16_t kCmdInsTxtVerb = 135;
constexpr uint16_t kCmdInsSndPath = 136;
constexpr uint16_t kCmdInsSndVerb = 137;
constexpr uint16_t kCmdInsSndCue = 138;

// Search.
constexpr uint16_t kCmdFind = 142;
constexpr uint16_t kCmdFindNext = 143;
constexpr uint16_t kCmdReplace = 144;
constexpr uint16_t kCmdGoTo = 145;

// Audio player: forwarded unchanged to the player panel.
constexpr uint16_t kCmdAmpFileOpen = 162;
constexpr uint16_t kCmdPlay = 1153;
constexpr uint16_t kCmdStop = 1154;
constexpr uint16_t kCmdPause = 1155;
constexpr uint16_t kCmdRew = 1156;
constexpr uint16_t kCmdFF = 1157;

// Options.
constexpr uint16_t kCmdOptToolbar = 181;
constexpr uint16_t kCmdFont = 182;
constexpr uint16_t kCmdAfterCreate = 183;  // posted to itself by the main window; never in a menu
constexpr uint16_t kCmdConfig = 184;
constexpr uint16_t kCmdLanguage = 185;
constexpr uint16_t kCmdOptRest = 187;
constexpr uint16_t kCmdOptBack = 188;
constexpr uint16_t kCmdResetSettings = 189;
constexpr uint16_t kCmdDarkDisable = 171;
constexpr uint16_t kCmdDarkAllow = 172;
constexpr uint16_t kCmdDarkForce = 173;

// Help.
constexpr uint16_t kCmdHelpContents = 191;
constexpr uint16_t kCmdHelpKeys = 192;
constexpr uint16_t kCmdGoOnline = 193;
constexpr uint16_t kCmdChkUpd = 194;
constexpr uint16_t kCmdAbout = 196;

// Menu separator identifier (-1 as a signed 16-bit value).
constexpr uint16_t kMenuSeparatorId = 0xFFFF;

// Texts that are not commands.
constexpr uint16_t kTextLanguageName = 1;
constexpr uint16_t kTextCancel = 2;
constexpr uint16_t kTextName = 54;
constexpr uint16_t kTextShortcut = 55;
constexpr uint16_t kTextSeparator = 98;
constexpr uint16_t kTextOk = 99;
constexpr uint16_t kTextResetWindows = 200;
constexpr uint16_t kTextUpdateAvailable = 1001;
constexpr uint16_t kTextUpToDate = 1003;
constexpr uint16_t kTextSeekBar = 1151;
constexpr uint16_t kTextVolumeBar = 1152;
constexpr uint16_t kTextBytes = 2028;
constexpr uint16_t kTextNotAvailable = 2055;
constexpr uint16_t kTextConfiguration = 5100;
constexpr uint16_t kTextGeneralOptions = 5200;
constexpr uint16_t kTextAlwaysOnTop = 5201;
constexpr uint16_t kTextIconsInMenu = 5202;
constexpr uint16_t kTextIconSize = 5203;
constexpr uint16_t kTextAudio = 5300;
constexpr uint16_t kTextSeconds = 5301;
constexpr uint16_t kTextStepBack = 5310;
constexpr uint16_t kTextStepForward = 5320;
constexpr uint16_t kTextKeyboardShortcuts = 5400;
constexpr uint16_t kTextColors = 5460;
constexpr uint16_t kTextTextColor = 5461;
constexpr uint16_t kTextBackColor = 5462;
constexpr uint16_t kTextSystemColors = 5463;
constexpr uint16_t kTextText = 5465;
constexpr uint16_t kTextMoveUp = 6991;
constexpr uint16_t kTextMoveDown = 6992;
constexpr uint16_t kTextEdit = 6993;
constexpr uint16_t kTextDuplicate = 6995;
constexpr uint16_t kTextRemove = 6997;
constexpr uint16_t kTextToolbarOptions = 7500;
constexpr uint16_t kTextAvailableButtons = 7501;
constexpr uint16_t kTextToolbarButtons = 7502;
constexpr uint16_t kTextReservedShortcut = 9000;
constexpr uint16_t kTextKeyNameBase = 9000;  // + virtual-key code (9008 Back ... 9145 Scroll)
constexpr uint16_t kTextUntitled = 30000;
constexpr uint16_t kTextFileChanged = 30001;
constexpr uint16_t kTextCannotOpenAudio = 30010;
