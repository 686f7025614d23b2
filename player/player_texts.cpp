// Player texts and the error box.
#include "player_texts.h"

#include <cwchar>

namespace {

const wchar_t* const kTexts[kPlayerLanguageCount][kPlayerTextCount] = {
    {L"Cannot open the audio file.", L"Cannot open the sound device."},
    {L"Die Audiodatei kann nicht ge\u00f6ffnet werden.", L"Das Audioger\u00e4t kann nicht ge\u00f6ffnet werden."},
};

int DefaultMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return MessageBoxW(owner, text, caption, type);
}

int UserLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN ? kPlayerGerman : kPlayerEnglish;
}

}  // namespace

int gPlayerLanguage = -1;
const wchar_t* gPlayerCaption = L"Tapewright";
int (*gPlayerMessageBox)(HWND, const wchar_t*, const wchar_t*, UINT) = DefaultMessageBox;

const wchar_t* PlayerTextIn(PlayerTextId id, int language) {
  if (id < 0 || id >= kPlayerTextCount) return L"";
  if (language < 0 || language >= kPlayerLanguageCount) language = kPlayerEnglish;
  return kTexts[language][id];
}

const wchar_t* PlayerText(PlayerTextId id) {
  return PlayerTextIn(id, gPlayerLanguage >= 0 ? gPlayerLanguage : UserLanguage());
}

void PlayerShowError(HWND owner, PlayerTextId id, const wchar_t* detail) {
  wchar_t text[1200];
  if (detail && *detail)
    swprintf(text, sizeof text / sizeof text[0], L"%ls\n\n%.1024ls", PlayerText(id), detail);
  else
    swprintf(text, sizeof text / sizeof text[0], L"%ls", PlayerText(id));
  gPlayerMessageBox(owner, text, gPlayerCaption, MB_OK | MB_ICONERROR);
}
