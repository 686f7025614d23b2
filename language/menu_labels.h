// The labels of a built menu tree in a language.
#pragma once
#include <cstddef>
#include <cstdint>

#include "commands/menu_tree.h"
#include "language/language.h"

// Appends the command's shortcut as a tab and key name (or leaves the label as
// it is); label holds capacity characters including the terminator.
typedef void (*MenuShortcutRoutine)(uint16_t command, wchar_t* label, size_t capacity);

// Fills the labels of a tree from a table: the text up to its first ";", at most
// kMenuLabelChars characters. In the menu bar (forPopup zero) a command item gets
// its shortcut from shortcuts (when not null); items with children and every
// item of a popup menu are cut at the first tab. Separators get no label.
// Returns non-zero on success, zero at the first item whose label is empty.
int BuildMenuLabels(LanguageTable table, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts);
