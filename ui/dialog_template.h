// Dialog templates made in memory: the program has no dialog resources, every
// text comes from the language tables. Appends stop at the capacity and mark
// the template as failed, so a caller writes it whole and checks once.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

struct DialogTemplate {
  uint8_t* buffer;  // DWORD-aligned
  size_t capacity;
  size_t used;
  int ok;
  WORD* itemCount;  // the header's count, raised by every item
};

// Predefined control classes by atom.
constexpr uint16_t kDialogButton = 0x0080;
constexpr uint16_t kDialogEdit = 0x0081;
constexpr uint16_t kDialogStatic = 0x0082;
constexpr uint16_t kDialogListBox = 0x0083;
constexpr uint16_t kDialogComboBox = 0x0085;

// The header: style (DS_SETFONT is added), size in dialog units, caption, and
// the font "MS Shell Dlg" at 8 points.
void DialogTemplateBegin(DialogTemplate* dialog, uint8_t* buffer, size_t capacity, DWORD style, short width,
                         short height, const wchar_t* caption);
// One control of a predefined class (WS_CHILD | WS_VISIBLE are added).
void DialogTemplateItem(DialogTemplate* dialog, DWORD style, short x, short y, short width, short height,
                        uint16_t id, uint16_t classAtom, const wchar_t* text);
// One control of a class given by name.
void DialogTemplateNamedItem(DialogTemplate* dialog, DWORD style, short x, short y, short width, short height,
                             uint16_t id, const wchar_t* className, const wchar_t* text);
// The template's size in bytes, or 0 when it did not fit.
size_t DialogTemplateEnd(const DialogTemplate* dialog);
