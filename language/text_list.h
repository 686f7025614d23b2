// Every text of the program that is not a command's: captions, labels, key
// names and messages, declared once and expanded into the text identifiers and
// the built-in language tables (see commands/command_list.h for the scheme).
//
// TPWR_TEXT(id, Name, key, english, german): kText##Name = id; key is the
// four-letter key in language files; German texts are Windows-1252 bytes.
#ifndef TPWR_TEXT
#define TPWR_TEXT(id, Name, key, english, german)
#endif

// Shared dialog and list captions.
TPWR_TEXT(54, Name, "lNme", "Name", "Name")
TPWR_TEXT(55, Shortcut, "lKSh", "Shortcut", "Tastenk\xFCrzel")
TPWR_TEXT(99, Ok, "btOK", "&OK", "&OK")
TPWR_TEXT(2, Cancel, "bCnl", "Cancel", "Abbrechen")
TPWR_TEXT(98, Separator, "Sprt", "Separator", "Trennzeichen")
TPWR_TEXT(2028, Bytes, "sBts", "bytes", "Bytes")
TPWR_TEXT(2055, NotAvailable, "ltNA", "N/A", "k.A.")

// The player panel's bars.
TPWR_TEXT(1151, SeekBar, "ASek", "Seeking Bar", "Suchleiste")
TPWR_TEXT(1152, VolumeBar, "AVol", "Volume Bar", "Lautst\xE4rke")

// Update check.
TPWR_TEXT(1001, UpdateAvailable, "CkUN", "An update is available:", "Ein Update ist verf\xFCgbar:")
TPWR_TEXT(1003, UpToDate, "CkUA", "is up to date.", "ist aktuell.")
TPWR_TEXT(1002, UpdateUnknown, "CkUF", "The update check could not be completed: the product list holds no line for this program.",
          "Die Suche nach Updates konnte nicht abgeschlossen werden: Die Produktliste enth\xE4lt keine Zeile f\xFCr dieses Programm.")

// Configuration dialog.
TPWR_TEXT(5100, Configuration, "Cnfg", "Configuration", "Konfiguration")
TPWR_TEXT(5200, GeneralOptions, "oGrl", "General Options", "Allgemeine Optionen")
TPWR_TEXT(5201, AlwaysOnTop, "oATp", "Always on top", "Immer im Vordergrund")
TPWR_TEXT(5202, IconsInMenu, "oCMn", "Icons in menu", "Symbole im Men\xFC")
TPWR_TEXT(5203, IconSize, "oIDm", "Icon size", "Symbolgr\xF6\xDF" "e")
TPWR_TEXT(5300, Audio, "cAud", "Audio", "Audio")
TPWR_TEXT(5301, Seconds, "cScs", "Seconds", "Sekunden")
TPWR_TEXT(5310, StepBack, "StpB", "Step Back", "R\xFC" "ckw\xE4rtsschritt")
TPWR_TEXT(5320, StepForward, "StpF", "Step Forward", "Vorlaufschritt")
TPWR_TEXT(5330, CueOffset, "CueO", "Cue export offset", "Versatz beim Export")
TPWR_TEXT(5340, Rewind, "cRwd", "Rewind on resume", "Zur\xFC" "ck beim Fortsetzen")
TPWR_TEXT(5341, Milliseconds, "cMsc", "Milliseconds", "Millisekunden")
TPWR_TEXT(5350, Speed, "cSpd", "Speed", "Geschwindigkeit")
TPWR_TEXT(5351, Percent, "cPct", "%", "%")
TPWR_TEXT(5500, FootPedal, "pPdl", "Foot Pedal", "Fu\xDFpedal")
TPWR_TEXT(5501, NoPedal, "pNon", "No pedal found yet: press one of its pedals, then open this page again.",
          "Noch kein Pedal gefunden: Treten Sie eines seiner Pedale und \xF6" "ffnen Sie diese Seite erneut.")
TPWR_TEXT(5502, PedalFound, "pFnd", "Pedal found:", "Gefundenes Pedal:")
TPWR_TEXT(5510, LeftPedal, "pLft", "Left pedal", "Linkes Pedal")
TPWR_TEXT(5520, MiddlePedal, "pMid", "Middle pedal", "Mittleres Pedal")
TPWR_TEXT(5530, RightPedal, "pRgt", "Right pedal", "Rechtes Pedal")
TPWR_TEXT(5540, PedalBackground, "pBkg", "Also while other programs are active",
          "Auch wenn andere Programme aktiv sind")
TPWR_TEXT(5550, PedalNothing, "pNth", "Nothing", "Nichts")
TPWR_TEXT(5460, Colors, "Clrs", "Colors", "Farben")
TPWR_TEXT(5461, TextColor, "ClTx", "Text color", "Textfarbe")
TPWR_TEXT(5462, BackColor, "ClBk", "Background color", "Hintergrundfarbe")
TPWR_TEXT(5463, SystemColors, "ClSs", "Use system colors", "Systemfarben verwenden ")
TPWR_TEXT(5465, Text, "Text", "Text", "Text")

// Shortcut editor and key names (9000 + virtual-key code).
TPWR_TEXT(5400, KeyboardShortcuts, "dlKS", "Keyboard Shortcuts", "Tastaturbelegung")
TPWR_TEXT(6997, Remove, "pDel", "Remove", "L\xF6schen")
TPWR_TEXT(6993, Edit, "pEdt", "Edit", "Bearbeiten")
TPWR_TEXT(6995, Duplicate, "pDpl", "Duplicate", "Duplizieren")
TPWR_TEXT(9000, ReservedShortcut, "vkRs", "Reserved shortcut!", "Reserviert f\xFCr interne Verwendung!")
TPWR_TEXT(9018, KeyAlt, "vkAl", "Alt", "Alt")
TPWR_TEXT(9017, KeyCtrl, "vkCt", "Ctrl", "Strg")
TPWR_TEXT(9016, KeyShift, "vkSh", "Shift", "Ums.")
TPWR_TEXT(9021, KeyNum, "vkNm", "Num", "Num.")
TPWR_TEXT(9024, KeyGray, "vkGr", "Gray", "Num")
TPWR_TEXT(9008, KeyBack, "vkBk", "Back", "Zur\xFC" "ck")
TPWR_TEXT(9009, KeyTab, "vkTb", "Tab", "Tabulator")
TPWR_TEXT(9019, KeyPause, "vkPs", "Pause", "Pause")
TPWR_TEXT(9020, KeyCapital, "vkCl", "Capital", "Gro\xDF")
TPWR_TEXT(9027, KeyEscape, "vkEs", "Escape", "Esc")
TPWR_TEXT(9144, KeyNumlock, "vkNk", "Numlock", "Numeric")
TPWR_TEXT(9145, KeyScroll, "vkSl", "Scroll", "Rollen")
TPWR_TEXT(9012, KeyClear, "vkCr", "Clear", "L\xF6schen")
TPWR_TEXT(9013, KeyEnter, "vkRt", "Enter", "Enter")
TPWR_TEXT(9032, KeySpace, "vkSp", "Space", "Leerzeichen")
TPWR_TEXT(9033, KeyPrior, "vkPr", "Prior", "BildNachOben")
TPWR_TEXT(9034, KeyNext, "vkNx", "Next", "BildNachUnten")
TPWR_TEXT(9035, KeyEnd, "vkEn", "End", "Ende")
TPWR_TEXT(9036, KeyHome, "vkHm", "Home", "Pos1")
TPWR_TEXT(9037, KeyLeft, "vkLf", "Left", "Links")
TPWR_TEXT(9038, KeyUp, "vkUp", "Up", "Nach Oben")
TPWR_TEXT(9039, KeyRight, "vkRg", "Right", "Rechts")
TPWR_TEXT(9040, KeyDown, "vkDw", "Down", "Nach Unten")
TPWR_TEXT(9041, KeySelect, "vkSt", "Select", "Select")
TPWR_TEXT(9042, KeyPrint, "vkPt", "Print", "Druck")
TPWR_TEXT(9043, KeyExecute, "vkEx", "Execute", "Execute")
TPWR_TEXT(9044, KeySnapshot, "vkSn", "Snapshot", "Bilddruck")
TPWR_TEXT(9045, KeyInsert, "vkIn", "Insert", "Einfg")
TPWR_TEXT(9046, KeyDelete, "vkDl", "Delete", "Entf")

// Toolbar dialog.
TPWR_TEXT(7500, ToolbarOptions, "dOTB", "Toolbar Options", "Symbolleiste anpassen")
TPWR_TEXT(7502, ToolbarButtons, "TBBt", "Toolbar buttons:", "Schaltfl\xE4" "chen der Symbolleiste:")
TPWR_TEXT(7501, AvailableButtons, "AvBt", "Available buttons:", "Verf\xFCgbare Schaltfl\xE4" "chen:")
TPWR_TEXT(6991, MoveUp, "bdUp", "Move &Up", "Nach &oben")
TPWR_TEXT(6992, MoveDown, "bdDw", "Move &Down", "Nach &unten")

// Messages.
TPWR_TEXT(30000, Untitled, "Unmd", "Untitled", "Unbenannt")
TPWR_TEXT(30001, FileChanged, "qChg", "The file has changed. Do you want to save it?",
          "Die Datei wurde ge\xE4ndert. Speichern?")
TPWR_TEXT(200, ResetWindows, "qrwp", "Do you want to reset the window positions?",
          "M\xF6" "chten Sie die Fensterpositionen zur\xFC" "cksetzen?")
TPWR_TEXT(30002, NotReadExactly, "qNRE", "This text was not read exactly as the file stores it:",
          "Dieser Text konnte nicht genau so gelesen werden, wie die Datei ihn speichert:")
TPWR_TEXT(30003, HasNuls, "qNul", "It holds NUL characters; they are shown as blanks.",
          "Er enth\xE4lt NUL-Zeichen; sie werden als Leerzeichen angezeigt.")
TPWR_TEXT(30004, InvalidUtf8, "qUt8", "It holds bytes that are not valid UTF-8; they are shown as replacement characters.",
          "Er enth\xE4lt Bytes, die kein g\xFCltiges UTF-8 sind; sie werden als Ersatzzeichen angezeigt.")
TPWR_TEXT(30005, OddByte, "qOdd", "Its last byte is half of a UTF-16 character and is left out.",
          "Sein letztes Byte ist ein halbes UTF-16-Zeichen und wird weggelassen.")
TPWR_TEXT(30006, ReplaceNotExact, "qRpl",
          "This file was not read exactly as it is stored. Saving replaces it with the text shown. Replace it?",
          "Diese Datei wurde nicht genau so gelesen, wie sie gespeichert ist. Beim Speichern wird sie durch den "
          "angezeigten Text ersetzt. Ersetzen?")
TPWR_TEXT(30010, CannotOpenAudio, "eOAF", "Cannot open the audio file.",
          "Die Audiodatei kann nicht ge\xF6" "ffnet werden.")
TPWR_TEXT(30011, CannotOpenSoundDevice, "eOSD", "Cannot open the sound device.",
          "Das Audioger\xE4t kann nicht ge\xF6" "ffnet werden.")
TPWR_TEXT(30020, PrintFailed, "ePrn", "The printer reported an error: the document was not printed in full.",
          "Der Drucker hat einen Fehler gemeldet: Das Dokument wurde nicht vollst\xE4ndig gedruckt.")
TPWR_TEXT(30021, NoMailProgram, "eNMl", "No e-mail program is set up to send the document.",
          "Es ist kein E-Mail-Programm eingerichtet, mit dem das Dokument gesendet werden kann.")
TPWR_TEXT(30022, MailFailed, "eMlF", "The e-mail program could not take the document.",
          "Das E-Mail-Programm konnte das Dokument nicht \xFC" "bernehmen.")

// The recovery copy.
TPWR_TEXT(30040, RecoveryQuestion, "qRcv",
          "Tapewright was not closed properly. Restore the transcript you were working on?",
          "Tapewright wurde nicht ordnungsgem\xE4\xDF beendet. Die zuletzt bearbeitete Abschrift wiederherstellen?")
TPWR_TEXT(30041, RecoveryFailed, "eRcv", "The recovery copy could not be written:",
          "Die Wiederherstellungskopie konnte nicht geschrieben werden:")

// Export Cues: the file types offered.
TPWR_TEXT(30030, CueSubRip, "tSrt", "SubRip subtitles (*.srt)", "SubRip-Untertitel (*.srt)")
TPWR_TEXT(30031, CueWebVtt, "tVtt", "WebVTT subtitles (*.vtt)", "WebVTT-Untertitel (*.vtt)")
TPWR_TEXT(30032, CueTable, "tTsv", "Tab-separated text (*.tsv)", "Tabulatorgetrennter Text (*.tsv)")

#undef TPWR_TEXT
