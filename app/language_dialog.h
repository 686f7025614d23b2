// The Language dialog and the Language command: a sorted list of the built-in
// languages and the language files beside the program.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "language/language_list.h"

constexpr int kLanguageDialogId = 90;
constexpr int kLanguageListId = 91;

// The dialog template (caption " Language", 154 by 143 dialog units, the list
// box 91 sorted with notify, the OK button 1) in buffer; returns its size in
// bytes, or 0 when buffer is too small.
size_t BuildLanguageDialogTemplate(uint8_t* buffer, size_t capacity, const wchar_t* okText);
// Index into choices of the entry whose code equals code (case-insensitive), or -1.
int FindLanguageChoice(const LanguageChoice* choices, int count, const char* code);
// Runs the dialog owned by owner; non-zero with the chosen code in code, zero
// when the user cancelled or chose nothing.
int RunLanguageDialog(HWND owner, char* code, size_t capacity);
// Command 185: the dialog, then the chosen language stored and the menus rebuilt.
LRESULT RunLanguageCommand(HWND window);
