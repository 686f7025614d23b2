// Every command of the program, declared once. The command numbers, the fixed
// command names, the menus, the greyed states, the default shortcuts, the
// language tables and the main window's dispatch are all derived from this list
// by expanding it with the macros below (an "X-macro" list). The includer
// defines the macros it needs; the others expand to nothing.
//
// TPWR_POPUP(id, Name, key, place, type, english, german)
//   A popup menu: kMenu##Name = id.
// TPWR_COMMAND(id, Name, key, places, rule, keys, handler, english, german)
//   A command with a fixed command name ("Name"), which the shortcut table, the
//   shortcut editor and the toolbar use: kCmd##Name = id.
// TPWR_MENU_COMMAND(id, Name, key, places, handler, english, german)
//   A menu command without a command name: it cannot be bound to a key or put
//   on the toolbar.
// TPWR_INTERNAL(id, Name, handler)
//   A command that only the program itself sends (fixed keys, start-up).
//
// Fields:
//   key      the four-letter key of the text in language files
//   place    PLACE(menu, position), PLACES(menu, position, menu, position) or
//            NOPLACE. Items of a menu are shown in the order of their positions;
//            a gap in the positions stands for a separator bar. The first menu
//            named is the command's home menu. Bar is the menu bar, Context the
//            editor's context menu.
//   type     String, or RightJustify for the Help popup
//   rule     when the command is greyed: Always (never greyed), CanUndo,
//            Selection, ClipboardText, NoFindDialog
//   keys     KEY(code) with the default shortcut code, or NOKEY
//   handler  what the main window runs for the command, a routine of the shell
//            (only the shell expands this field); nullptr for none yet
//   english, german  the text: label;status-bar help[;tooltip]. German texts are
//            Windows-1252 bytes, written as escapes so that they do not depend on
//            this file's encoding.
#ifndef TPWR_POPUP
#define TPWR_POPUP(id, Name, key, place, type, english, german)
#endif
#ifndef TPWR_COMMAND
#define TPWR_COMMAND(id, Name, key, places, rule, keys, handler, english, german)
#endif
#ifndef TPWR_MENU_COMMAND
#define TPWR_MENU_COMMAND(id, Name, key, places, handler, english, german)
#endif
#ifndef TPWR_INTERNAL
#define TPWR_INTERNAL(id, Name, handler)
#endif

// File.
TPWR_POPUP(101, File, "mFle", PLACE(Bar, 1), String,
           "&File;Commands with files",
           "&Datei;Operationen mit Dateien")
TPWR_COMMAND(102, FileNew, "FNew", PLACE(File, 1), Always, NOKEY, FileNewCommand,
             "&New;Creates a new document",
             "&Neu;Erstellt ein neues Dokument")
TPWR_COMMAND(103, FileOpen, "FOpn", PLACE(File, 2), Always, NOKEY, FileOpenCommand,
             "&Open...;Opens an existing document",
             "\xD6&ffnen...;\xD6" "ffnet ein vorhandenes Dokument")
TPWR_COMMAND(105, FileSave, "FSve", PLACE(File, 5), Always, KEY(kKeyCtrl | 'S'), FileSaveCommand,
             "&Save;Saves the actual document",
             "&Speichern;Speichert das aktuelle Dokument")
TPWR_COMMAND(106, FileSaveAs, "FSAs", PLACE(File, 6), Always, NOKEY, FileSaveAsCommand,
             "Save &as...;Saves the document with a new name",
             "Speichern &unter...;Speichert das aktuelle Dokument unter neuem Namen")
TPWR_COMMAND(109, ExportCues, "FExC", PLACE(File, 7), Always, NOKEY, ExportCuesCommand,
             "E&xport Cues...;Export the transcript as subtitles or a table",
             "Marken e&xportieren...;Exportiert die Abschrift als Untertitel oder Tabelle")
TPWR_COMMAND(107, FilePrint, "FPrn", PLACE(File, 9), Always, NOKEY, FilePrintCommand,
             "&Print...;Prints the document",
             "&Drucken...;Druckt das aktuelle Dokument aus")
TPWR_COMMAND(108, SendMail, "SnMl", PLACE(File, 10), Always, NOKEY, SendMailCommand,
             "E-Mail to...;Send the document as E-Mail",
             "Per &E-Mail senden...;Sendet das aktuelle Dokument per E-Mail")
TPWR_COMMAND(100, Exit, "Exit", PLACE(File, 12), Always, NOKEY, ExitCommand,
             "E&xit;Quits the application",
             "&Beenden;Beendet die Anwendung")

// Edit.
TPWR_POPUP(110, Edit, "mEdt", PLACE(Bar, 2), String,
           "&Edit;Edit functions",
           "&Bearbeiten;Funktionen zum bearbeiten")
TPWR_COMMAND(111, Undo, "Undo", PLACES(Edit, 1, Context, 1), CanUndo, NOKEY, EditorCommand,
             "&Undo;Reverses the last action",
             "&R\xFC" "ckg\xE4ngig;Macht den letzten Vorgang r\xFC" "ckg\xE4ngig")
TPWR_COMMAND(112, Cut, "ECut", PLACES(Edit, 3, Context, 3), Selection, NOKEY, EditorCommand,
             "Cu&t;Cuts the selection and puts it on the Clipboard",
             "&Ausschneiden;Schneidet die aktuelle Auswahl aus")
TPWR_COMMAND(114, Copy, "ECpy", PLACES(Edit, 4, Context, 4), Selection, NOKEY, EditorCommand,
             "&Copy;Copies the selection and puts it on the Clipboard",
             "&Kopieren;Kopiert die aktuelle Auswahl in die Zwischenablage")
TPWR_COMMAND(115, Paste, "EPst", PLACES(Edit, 5, Context, 5), ClipboardText, NOKEY, EditorCommand,
             "&Paste;Insert the contents at the insertion points",
             "&Einf\xFCgen;F\xFCgt den kopierten oder ausgeschnittenen Inhalt ein")
TPWR_COMMAND(116, Clear, "EClr", PLACES(Edit, 7, Context, 7), Selection, NOKEY, EditorCommand,
             "Cl&ear;Erases the selection",
             "&L\xF6schen;L\xF6scht die Markierung")
TPWR_COMMAND(117, SelectAll, "ESlA", PLACES(Edit, 8, Context, 8), Always, NOKEY, SelectAllCommand,
             "Select &all;Selects the entire document",
             "Alles aus&w\xE4hlen;Markiert das gesamte Dokument")

// View.
TPWR_POPUP(120, View, "mViw", PLACE(Bar, 3), String,
           "&View;Choose view options",
           "&Ansicht;Ansichtoptionen w\xE4hlen")
TPWR_COMMAND(121, Toolbar, "VTbr", PLACE(View, 1), Always, NOKEY, ToolbarCommand,
             "&Toolbar;Shows or hides the toolbar",
             "S&ymbolleiste;Blendet die Symbolleiste ein oder aus")
TPWR_COMMAND(122, Statusbar, "VSBr", PLACE(View, 2), Always, NOKEY, StatusBarCommand,
             "Status &Bar;Shows or hides the status bar",
             "Status&zeile;Blendet die Statuszeile ein oder aus")
TPWR_COMMAND(123, Wordwrap, "WWrp", PLACE(View, 4), Always, NOKEY, WordWrapCommand,
             "&Word wrap;Turn the word wrap option on or off",
             "&Zeilenumbruch;Zeilenumbruch An/Aus")

// Insert.
TPWR_POPUP(131, Insert, "Insr", PLACE(Bar, 4), String,
           "&Insert",
           "&Einf\xFCgen")
TPWR_COMMAND(132, InsDateTime, "IsDt", PLACE(Insert, 1), Always, NOKEY, InsertMarkCommand,
             "&Date/Time;Insert the actual date/time",
             "&Datum und Uhrzeit;F\xFCgt das aktuelle Datum bzw. die aktuelle Uhrzeit ein")
TPWR_COMMAND(133, InsVersion, "IsVr", PLACE(Insert, 2), Always, NOKEY, InsertMarkCommand,
             "Ve&rsion;Insert the application version",
             "&Version;F\xFCgt die aktuelle Programmversionnummer ein")
TPWR_COMMAND(134, InsTxtPath, "IsPt", PLACE(Insert, 4), Always, NOKEY, InsertMarkCommand,
             "&Text File Path;Add the text file path name",
             "&Textdatei Pfadname;F\xFCgt der Textdateiname ein")
TPWR_COMMAND(135, InsTxtVerb, "IsVb", PLACE(Insert, 5), Always, NOKEY, InsertMarkCommand,
             "Text File &Verbose;Add a textile mark",
             "Text&marke;F\xFCgt eine Textmarke ein")
TPWR_COMMAND(136, InsSndPath, "IsSP", PLACE(Insert, 7), Always, NOKEY, InsertMarkCommand,
             "&Sound File Path;Add the sound file path name",
             "&Audiodatei Pfadname;F\xFCgt der Audiodateiname ein")
TPWR_COMMAND(137, InsSndVerb, "IsSV", PLACE(Insert, 8), Always, NOKEY, InsertMarkCommand,
             "Sound File Ver&bose;Add a sound file mark",
             "Audiomar&ke;F\xFCgt eine Audiomarke ein")
TPWR_COMMAND(138, InsSndCue, "IsSC", PLACE(Insert, 9), Always, NOKEY, InsertMarkCommand,
             "Sound &Cue;Add a cue mark",
             "Audios&chnitt;F\xFCgt eine Audioschnittmarke ein")

// Search.
TPWR_POPUP(141, Search, "eSrh", PLACE(Bar, 5), String,
           "&Search",
           "&Suchen")
TPWR_COMMAND(142, Find, "EFnd", PLACE(Search, 1), NoFindDialog, KEY(kKeyCtrl | 'F'), FindCommand,
             "&Search...;Search for a given text",
             "&Suchen...;Sucht den angegebenen Text")
TPWR_COMMAND(143, FindNext, "FndN", PLACE(Search, 2), NoFindDialog, KEY(0x72 /* F3 */), FindNextCommand,
             "&Find Next;Repeat the last search",
             "&Weitersuchen;Wiederholt den letzten Suchvorgang")
TPWR_COMMAND(144, Replace, "Rplc", PLACE(Search, 3), NoFindDialog, NOKEY, FindCommand,
             "&Replace...;Replace the given text",
             "&Ersetzen...;Ersetzt den angegebenen Text")
TPWR_COMMAND(145, GoTo, "GoTo", PLACE(Search, 5), Always, KEY(kKeyCtrl | 'G'), GoToCommand,
             "&Go to;Go to mark",
             "&Gehe zu;Gehe zur Markierung")

// Audio player: the main window hands these on to the player panel.
TPWR_POPUP(161, Player, "AMPl", PLACE(Bar, 6), String,
           "Audio &Player",
           "Audio &Player")
TPWR_COMMAND(1153, Play, "APly", PLACES(Player, 1, Context, 10), Always, NOKEY, PlayerPanelCommand,
             "&Play;Play the sound file",
             "&Wiedergabe;Startet die Wiedergabe")
TPWR_COMMAND(1154, Stop, "AStp", PLACES(Player, 2, Context, 11), Always, NOKEY, PlayerPanelCommand,
             "&Stop;Stop playing the sound file",
             "&Stopp;Stoppt due Wiedergabe")
TPWR_COMMAND(1155, Pause, "APus", PLACES(Player, 3, Context, 12), Always, NOKEY, PlayerPanelCommand,
             "P&ause;Pause playing",
             "&Pause;Die Wiedergabe wird angehalten")
TPWR_COMMAND(1163, HoldPlay, "AHld", PLACE(Player, 4), Always, NOKEY, PlayerPanelCommand,
             "Play while &held;Plays while the key is held down",
             "Abspielen solange &gedr\xFC" "ckt;Spielt ab, solange die Taste gedr\xFC" "ckt ist")
TPWR_COMMAND(1156, Rew, "ARew", PLACES(Player, 6, Context, 14), Always, NOKEY, PlayerPanelCommand,
             "&Rew;Step the sound back",
             "&R\xFC" "cklauf;R\xFC" "cklauf")
TPWR_COMMAND(1157, FF, "ApFF", PLACES(Player, 7, Context, 15), Always, NOKEY, PlayerPanelCommand,
             "&FF;Step the sound forward",
             "Schneller &Vorlauf;Schneller Vorlauf")
TPWR_COMMAND(1160, Slower, "ASlw", PLACE(Player, 9), Always, KEY(kKeyCtrl | 0x28), PlayerPanelCommand,
             "&Slower;Play more slowly",
             "&Langsamer;Langsamer abspielen")
TPWR_COMMAND(1161, Faster, "AFst", PLACE(Player, 10), Always, KEY(kKeyCtrl | 0x26), PlayerPanelCommand,
             "&Faster;Play faster",
             "&Schneller;Schneller abspielen")
TPWR_COMMAND(1162, NormalSpeed, "ANrm", PLACE(Player, 11), Always, KEY(kKeyCtrl | '0'), PlayerPanelCommand,
             "&Normal Speed;Play at the recorded speed",
             "&Normale Geschwindigkeit;In Originalgeschwindigkeit abspielen")
TPWR_COMMAND(162, AmpFileOpen, "AOpn", PLACES(Player, 13, File, 3), Always, NOKEY, PlayerPanelCommand,
             "Open A&udio file...;Opens an existing audio file",
             "&Audiodatei \xF6" "ffnen...;\xD6" "ffnet eine vorhandene Audiodatei")

// Options.
TPWR_POPUP(180, Options, "mOpt", PLACE(Bar, 7), String,
           "&Options;Select or change the settings",
           "&Optionen;Einstellungen ausw\xE4hlen oder \xE4ndern")
TPWR_COMMAND(181, OptToolbar, "OpTB", PLACE(Options, 1), Always, NOKEY, OptToolbarCommand,
             "Customize &Toolbar...;Customize the toolbar",
             "S&ymbolleiste anpassen...;Passt die Symbolleiste an")
TPWR_COMMAND(182, Font, "Font", PLACE(Options, 3), Always, NOKEY, FontCommand,
             "&Font...;Set the window font",
             "&Schrift...;W\xE4hlt die Schriftart aus")
TPWR_POPUP(170, DarkMode, "Dark", PLACE(Options, 4), String,
           "Dark Mode;Select the dark mode",
           "Dunkelmodus;Dunkelmodus setzen")
TPWR_MENU_COMMAND(171, DarkDisable, "DrkD", PLACE(DarkMode, 1), DarkModeCommand,
                  "Disable dark mode;Disable the dark mode",
                  "Hell;Dunkelmodus deaktiviert")
TPWR_MENU_COMMAND(172, DarkAllow, "DrkA", PLACE(DarkMode, 2), DarkModeCommand,
                  "Allow dark mode;Allow the dark mode (depends of Windows settings)",
                  "Wie Windows;Dunkelmodus wie in Windows einsgestellt")
TPWR_MENU_COMMAND(173, DarkForce, "DrkF", PLACE(DarkMode, 3), DarkModeCommand,
                  "Force dark mode;Force the dark mode",
                  "Dunkel;Dunkelmodus immer aktiviert")
TPWR_COMMAND(184, Config, "CNFG", PLACE(Options, 5), Always, NOKEY, ConfigCommand,
             "&Configuration...;Set various options",
             "&Konfiguration...;Optionen setzen")
TPWR_COMMAND(188, OptBack, "OpBk", PLACE(Options, 7), Always, NOKEY, BackupSettingsCommand,
             "&Backup Settings...;Backup all settings to file",
             "Einstellungen s&ichern...;Alle Einstellungen sichern")
TPWR_COMMAND(187, OptRest, "OpRt", PLACE(Options, 8), Always, NOKEY, RestoreSettingsCommand,
             "&Restore Settings...;Restore all settings from file",
             "Einstellungen &wiederherstellen...;Alle Einstellungen wiederherstellen")
TPWR_MENU_COMMAND(189, ResetSettings, "OpRD", PLACE(Options, 9), ResetSettingsCommand,
                  "Reset Settings;Reset all settings to their default values",
                  "Einstellungen zur\xFC" "cksetzen;Alle Einstellungen auf die Standardwerte zur\xFC" "cksetzen")
TPWR_COMMAND(185, Language, "Lnge", PLACE(Options, 11), Always, NOKEY, LanguageCommand,
             "L&anguage...;Select the language",
             "Sp&rache...;Ausgabesprache w\xE4hlen")

// Help.
TPWR_POPUP(190, Help, "Help", PLACE(Bar, 8), RightJustify,
           "&Help",
           "&Hilfe")
TPWR_MENU_COMMAND(191, HelpContents, "Hlpc", PLACE(Help, 1), HelpCommand,
                  "&Help;Open the application help window",
                  "&Hilfe;Zeigt die Hilfethemen an")
TPWR_COMMAND(192, HelpKeys, "HKys", PLACE(Help, 3), Always, NOKEY, HelpKeysCommand,
             "&Keyboard Shortcuts;Displays the configured keyboard shortcuts",
             "&Tastenk\xFCrzel;Zeigt die eingerichtete Tastaturbelegung an")
TPWR_COMMAND(193, GoOnline, "GoOL", PLACE(Help, 4), Always, NOKEY, GoOnlineCommand,
             "&Go Online;Opens your WWW Browser",
             "H&omepage besuchen;Startet Ihren WWW-Browser")
TPWR_COMMAND(194, ChkUpd, "CkUd", PLACE(Help, 5), Always, NOKEY, CheckForUpdatesCommand,
             "Check for &Updates;Check for new Updates",
             "Nach &Updates suchen")
TPWR_COMMAND(196, About, "Abot", PLACE(Help, 7), Always, NOKEY, AboutCommand,
             "&Product Information...;Displays application information, version number, and copyright",
             "&Produktinformation...;Zeigt Programminformationen an")

// Sent by the program itself.
TPWR_INTERNAL(22, TabKey, TabKeyCommand)
TPWR_INTERNAL(23, ShiftTabKey, ShiftTabKeyCommand)
TPWR_INTERNAL(25, EscapeKey, EscapeCommand)
TPWR_INTERNAL(183, AfterCreate, AfterCreateCommand)
TPWR_INTERNAL(1164, HoldPlayRelease, PlayerPanelCommand)  // the key of HoldPlay came up

#undef TPWR_POPUP
#undef TPWR_COMMAND
#undef TPWR_MENU_COMMAND
#undef TPWR_INTERNAL
