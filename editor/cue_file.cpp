#include "editor/cue_file.h"

#include <commdlg.h>

#include <cstdlib>
#include <cwchar>

#include "base/paths.h"
#include "base/text_limits.h"
#include "editor/cue_export.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/text_file.h"
#include "language/language.h"
#include "player/player_panel.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/message_box.h"

namespace {

constexpr size_t kFilterChars = 400;
constexpr wchar_t kExtensions[][4] = {L"srt", L"vtt", L"tsv"};
constexpr uint16_t kTypeTexts[] = {kTextCueSubRip, kTextCueWebVtt, kTextCueTable};

// "SubRip subtitles (*.srt)\0*.srt\0..." in the interface language.
void BuildFilter(wchar_t* filter) {
  size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    wchar_t name[120];
    GetText(kTypeTexts[i], name, 120);
    int wrote = swprintf(filter + at, kFilterChars - at - 1, L"%ls%lc*.%ls%lc", name, L'\0', kExtensions[i], L'\0');
    if (wrote <= 0) break;
    at += static_cast<size_t>(wrote);
  }
  filter[at] = 0;
}

int CommonSaveDialog(HWND owner, wchar_t* path, size_t capacity, DWORD* typeIndex) {
  wchar_t filter[kFilterChars];
  BuildFilter(filter);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = *typeIndex;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(capacity);
  dialog.lpstrDefExt = kExtensions[*typeIndex - 1];
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameW(&dialog)) return 0;
  *typeIndex = dialog.nFilterIndex;
  return 1;
}

// The transcript's name with the first type's extension, in its folder.
void SuggestName(wchar_t* path, size_t capacity) {
  path[0] = 0;
  const wchar_t* document = DocumentPath();
  if (!document[0] || wcslen(document) + 4 >= capacity) return;
  CopyTextBounded(path, capacity, document);
  wchar_t* dot = wcsrchr(const_cast<wchar_t*>(FileNamePart(path)), L'.');
  if (dot) *dot = 0;
  wcscat(path, L".srt");
}

// The name's own extension wins; a name without one of ours gets the chosen type's.
CueExportFormat ChosenFormat(wchar_t* path, size_t capacity, DWORD typeIndex) {
  const wchar_t* dot = wcsrchr(FileNamePart(path), L'.');
  if (dot)
    for (const wchar_t* extension : kExtensions)
      if (!_wcsicmp(dot + 1, extension)) return CueFormatOfName(path);
  if (typeIndex < 1 || typeIndex > 3) typeIndex = 1;
  if (wcslen(path) + 4 < capacity) {
    wcscat(path, L".");
    wcscat(path, kExtensions[typeIndex - 1]);
  }
  return CueFormatOfName(path);
}

int WriteExport(HWND owner, const wchar_t* path, CueExportFormat format) {
  HWND editor = EditorWindow();
  size_t length = static_cast<size_t>(GetWindowTextLengthW(editor));
  auto* text = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
  if (!text) return ShowFileError(owner, ERROR_NOT_ENOUGH_MEMORY, nullptr), 0;
  int got = GetWindowTextW(editor, text, static_cast<int>(length + 1));
  CueExportOptions options{format, uint64_t{PlayerPanelLength(PlayerPanelWindow())} * 1000,
                           static_cast<int32_t>(ReadSetting(Settings(), kSettingOffset))};
  size_t size = 0;
  uint8_t* bytes = ExportCues(text, static_cast<size_t>(got > 0 ? got : 0), &options, &size);
  free(text);
  if (!bytes) return ShowFileError(owner, ERROR_NOT_ENOUGH_MEMORY, nullptr), 0;
  SavePiece piece{bytes, size};
  TextSaveStage stage;
  DWORD error = SaveFilePieces(path, &piece, 1, &stage);
  free(bytes);
  if (error) ShowFileError(owner, error, path);
  return error == 0;
}

}  // namespace

int (*gCueFileDialog)(HWND, wchar_t*, size_t, DWORD*) = CommonSaveDialog;

int DocumentExportCues(HWND owner) {
  wchar_t path[kMaxPathChars + 1];
  SuggestName(path, kMaxPathChars + 1);
  DWORD typeIndex = 1;
  if (!gCueFileDialog(owner, path, kMaxPathChars - 4, &typeIndex)) return 0;
  CueExportFormat format = ChosenFormat(path, kMaxPathChars + 1, typeIndex);
  return WriteExport(owner, path, format);
}
