// Built-in German texts, 8-bit in Windows-1252; the non-ASCII letters are written as
// escapes so the bytes do not depend on the source file's encoding.
#include "app/language.h"

const LanguageRecord kLanguageTableGerman[] = {
    {1252 + 1, "DE"},
    {1, "German (Deutsch)"},
    {101, "&Datei;Operationen mit Dateien"},
    {100, "&Beenden;Beendet die Anwendung"},
    {102, "&Neu;Erstellt ein neues Dokument"},
    {103, "\xD6&ffnen...;\xD6" "ffnet ein vorhandenes Dokument"},  // Ö&ffnen...;Öffnet ein vorhandenes Dokument
    {105, "&Speichern;Speichert das aktuelle Dokument"},
    {106, "Speichern &unter...;Speichert das aktuelle Dokument unter neuem Namen"},
    {107, "&Drucken...;Druckt das aktuelle Dokument aus"},
    {108, "Per &E-Mail senden...;Sendet das aktuelle Dokument per E-Mail"},
    {110, "&Bearbeiten;Funktionen zum bearbeiten"},
    {111, "&R\xFC" "ckg\xE4ngig;Macht den letzten Vorgang r\xFC" "ckg\xE4ngig"},  // &Rückgängig;Macht den letzten Vorgang rückgängig
    {112, "&Ausschneiden;Schneidet die aktuelle Auswahl aus"},
    {114, "&Kopieren;Kopiert die aktuelle Auswahl in die Zwischenablage"},
    {115, "&Einf\xFCgen;F\xFCgt den kopierten oder ausgeschnittenen Inhalt ein"},  // &Einfügen;Fügt den kopierten oder ausgeschnittenen Inhalt ein
    {116, "&L\xF6schen;L\xF6scht die Markierung"},  // &Löschen;Löscht die Markierung
    {117, "Alles aus&w\xE4hlen;Markiert das gesamte Dokument"},  // Alles aus&wählen;Markiert das gesamte Dokument
    {120, "&Ansicht;Ansichtoptionen w\xE4hlen"},  // &Ansicht;Ansichtoptionen wählen
    {121, "S&ymbolleiste;Blendet die Symbolleiste ein oder aus"},
    {122, "Status&zeile;Blendet die Statuszeile ein oder aus"},
    {123, "&Zeilenumbruch;Zeilenumbruch An/Aus"},
    {131, "&Einf\xFCgen"},  // &Einfügen
    {132, "&Datum und Uhrzeit;F\xFCgt das aktuelle Datum bzw. die aktuelle Uhrzeit ein"},  // &Datum und Uhrzeit;Fügt das aktuelle Datum bzw. die aktuelle Uhrzeit ein
    {133, "&Version;F\xFCgt die aktuelle Programmversionnummer ein"},  // &Version;Fügt die aktuelle Programmversionnummer ein
    {134, "&Textdatei Pfadname;F\xFCgt der Textdateiname ein"},  // &Textdatei Pfadname;Fügt der Textdateiname ein
    {135, "Text&marke;F\xFCgt eine Textmarke ein"},  // Text&marke;Fügt eine Textmarke ein
    {136, "&Audiodatei Pfadname;F\xFCgt der Audiodateiname ein"},  // &Audiodatei Pfadname;Fügt der Audiodateiname ein
    {137, "Audiomar&ke;F\xFCgt eine Audiomarke ein"},  // Audiomar&ke;Fügt eine Audiomarke ein
    {138, "Audios&chnitt;F\xFCgt eine Audioschnittmarke ein"},  // Audios&chnitt;Fügt eine Audioschnittmarke ein
    {141, "&Suchen"},
    {142, "&Suchen...;Sucht den angegebenen Text"},
    {143, "&Weitersuchen;Wiederholt den letzten Suchvorgang"},
    {144, "&Ersetzen...;Ersetzt den angegebenen Text"},
    {145, "&Gehe zu;Gehe zur Markierung"},
    {161, "Audio &Player"},
    {1151, "Suchleiste"},
    {1152, "Lautst\xE4rke"},  // Lautstärke
    {1153, "&Wiedergabe;Startet die Wiedergabe"},
    {1154, "&Stopp;Stoppt due Wiedergabe"},
    {1155, "&Pause;Die Wiedergabe wird angehalten"},
    {1156, "&R\xFC" "cklauf;R\xFC" "cklauf"},  // &Rücklauf;Rücklauf
    {1157, "Schneller &Vorlauf;Schneller Vorlauf"},
    {162, "&Audiodatei \xF6" "ffnen...;\xD6" "ffnet eine vorhandene Audiodatei"},  // &Audiodatei öffnen...;Öffnet eine vorhandene Audiodatei
    {180, "&Optionen;Einstellungen ausw\xE4hlen oder \xE4ndern"},  // &Optionen;Einstellungen auswählen oder ändern
    {181, "S&ymbolleiste anpassen...;Passt die Symbolleiste an"},
    {182, "&Schrift...;W\xE4hlt die Schriftart aus"},  // &Schrift...;Wählt die Schriftart aus
    {184, "&Konfiguration...;Optionen setzen"},
    {185, "Sp&rache...;Ausgabesprache w\xE4hlen"},  // Sp&rache...;Ausgabesprache wählen
    {188, "Einstellungen s&ichern...;Alle Einstellungen sichern"},
    {187, "Einstellungen &wiederherstellen...;Alle Einstellungen wiederherstellen"},
    {189, "Einstellungen zur\xFC" "cksetzen;Alle Einstellungen auf die Standardwerte zur\xFC" "cksetzen"},  // Einstellungen zurücksetzen;Alle Einstellungen auf die Standardwerte zurücksetzen
    {170, "Dunkelmodus;Dunkelmodus setzen"},
    {171, "Hell;Dunkelmodus deaktiviert"},
    {172, "Wie Windows;Dunkelmodus wie in Windows einsgestellt"},
    {173, "Dunkel;Dunkelmodus immer aktiviert"},
    {190, "&Hilfe"},
    {191, "&Hilfe;Zeigt die Hilfethemen an"},
    {192, "&Tastenk\xFCrzel;Zeigt die eingerichtete Tastaturbelegung an"},  // &Tastenkürzel;Zeigt die eingerichtete Tastaturbelegung an
    {193, "H&omepage besuchen;Startet Ihren WWW-Browser"},
    {194, "Nach &Updates suchen"},
    {1001, "Ein Update ist verf\xFCgbar:"},  // Ein Update ist verfügbar:
    {1003, "ist aktuell."},
    {196, "&Produktinformation...;Zeigt Programminformationen an"},
    {2055, "k.A."},
    {54, "Name"},
    {55, "Tastenk\xFCrzel"},  // Tastenkürzel
    {99, "&OK"},
    {2, "Abbrechen"},
    {98, "Trennzeichen"},
    {2028, "Bytes"},
    {5100, "Konfiguration"},
    {5200, "Allgemeine Optionen"},
    {5201, "Immer im Vordergrund"},
    {5202, "Symbole im Men\xFC"},  // Symbole im Menü
    {5203, "Symbolgr\xF6\xDF" "e"},  // Symbolgröße
    {5300, "Audio"},
    {5301, "Sekunden"},
    {5310, "R\xFC" "ckw\xE4rtsschritt"},  // Rückwärtsschritt
    {5320, "Vorlaufschritt"},
    {5460, "Farben"},
    {5461, "Textfarbe"},
    {5462, "Hintergrundfarbe"},
    {5463, "Systemfarben verwenden "},
    {5465, "Text"},
    {5400, "Tastaturbelegung"},
    {6997, "L\xF6schen"},  // Löschen
    {6993, "Bearbeiten"},
    {6995, "Duplizieren"},
    {9000, "Reserviert f\xFCr interne Verwendung!"},  // Reserviert für interne Verwendung!
    {9018, "Alt"},
    {9017, "Strg"},
    {9016, "Ums."},
    {9021, "Num."},
    {9024, "Num"},
    {9008, "Zur\xFC" "ck"},  // Zurück
    {9009, "Tabulator"},
    {9019, "Pause"},
    {9020, "Gro\xDF"},  // Groß
    {9027, "Esc"},
    {9144, "Numeric"},
    {9145, "Rollen"},
    {9012, "L\xF6schen"},  // Löschen
    {9013, "Enter"},
    {9032, "Leerzeichen"},
    {9033, "BildNachOben"},
    {9034, "BildNachUnten"},
    {9035, "Ende"},
    {9036, "Pos1"},
    {9037, "Links"},
    {9038, "Nach Oben"},
    {9039, "Rechts"},
    {9040, "Nach Unten"},
    {9041, "Select"},
    {9042, "Druck"},
    {9043, "Execute"},
    {9044, "Bilddruck"},
    {9045, "Einfg"},
    {9046, "Entf"},
    {7500, "Symbolleiste anpassen"},
    {7502, "Schaltfl\xE4" "chen der Symbolleiste:"},  // Schaltflächen der Symbolleiste:
    {7501, "Verf\xFCgbare Schaltfl\xE4" "chen:"},  // Verfügbare Schaltflächen:
    {6991, "Nach &oben"},
    {6992, "Nach &unten"},
    {30000, "Unbenannt"},
    {30001, "Die Datei wurde ge\xE4ndert. Speichern?"},  // Die Datei wurde geändert. Speichern?
    {200, "M\xF6" "chten Sie die Fensterpositionen zur\xFC" "cksetzen?"},  // Möchten Sie die Fensterpositionen zurücksetzen?
    {30010, "Die Audiodatei kann nicht ge\xF6" "ffnet werden."},  // Die Audiodatei kann nicht geöffnet werden.
    {0, nullptr},
};
