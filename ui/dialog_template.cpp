#include "ui/dialog_template.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t kDialogFont[] = L"MS Shell Dlg";
constexpr WORD kDialogFontPoints = 8;

void Put(DialogTemplate* dialog, const void* data, size_t bytes) {
  if (!dialog->ok || dialog->used + bytes > dialog->capacity) {
    dialog->ok = 0;
    return;
  }
  memcpy(dialog->buffer + dialog->used, data, bytes);
  dialog->used += bytes;
}

void PutWord(DialogTemplate* dialog, uint16_t value) { Put(dialog, &value, sizeof value); }
void PutText(DialogTemplate* dialog, const wchar_t* text) { Put(dialog, text, (wcslen(text) + 1) * sizeof(wchar_t)); }
void AlignDword(DialogTemplate* dialog) {
  while (dialog->ok && dialog->used % 4) PutWord(dialog, 0);
}

// The fixed part of an item; its class and text follow.
void PutItemHead(DialogTemplate* dialog, DWORD style, short x, short y, short width, short height, uint16_t id) {
  AlignDword(dialog);
  DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, id};
  Put(dialog, &item, sizeof item);
  if (dialog->ok && dialog->itemCount) ++*dialog->itemCount;
}

}  // namespace

void DialogTemplateBegin(DialogTemplate* dialog, uint8_t* buffer, size_t capacity, DWORD style, short width,
                         short height, const wchar_t* caption) {
  *dialog = DialogTemplate{buffer, capacity, 0, 1, nullptr};
  DLGTEMPLATE head = {style | DS_SETFONT, 0, 0, 0, 0, width, height};
  Put(dialog, &head, sizeof head);
  if (dialog->ok) dialog->itemCount = &reinterpret_cast<DLGTEMPLATE*>(buffer)->cdit;
  PutWord(dialog, 0);  // no menu
  PutWord(dialog, 0);  // the standard dialog class
  PutText(dialog, caption);
  PutWord(dialog, kDialogFontPoints);
  PutText(dialog, kDialogFont);
}

void DialogTemplateItem(DialogTemplate* dialog, DWORD style, short x, short y, short width, short height,
                        uint16_t id, uint16_t classAtom, const wchar_t* text) {
  PutItemHead(dialog, style, x, y, width, height, id);
  PutWord(dialog, 0xFFFF);  // predefined class by atom
  PutWord(dialog, classAtom);
  PutText(dialog, text);
  PutWord(dialog, 0);  // no creation data
}

void DialogTemplateNamedItem(DialogTemplate* dialog, DWORD style, short x, short y, short width, short height,
                             uint16_t id, const wchar_t* className, const wchar_t* text) {
  PutItemHead(dialog, style, x, y, width, height, id);
  PutText(dialog, className);
  PutText(dialog, text);
  PutWord(dialog, 0);
}

size_t DialogTemplateEnd(const DialogTemplate* dialog) { return dialog->ok ? dialog->used : 0; }
