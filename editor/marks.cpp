// Insert commands and Go to: building the marks from the editor's, the
// document's and the player's state, and reading them back.
#include "editor/marks.h"

#include <cstdlib>

#include "base/product.h"
#include "base/recording_time.h"
#include "commands/commands.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/mark_text.h"
#include "player/player_panel.h"

namespace {

constexpr size_t kDateContentChars = 127;
constexpr size_t kVersionContentBytes = 256;
constexpr size_t kCueContentChars = 144;
constexpr size_t kGoToLineLimit = 65534;  // EM_GETLINE counts in a WORD

void InsertContent(const wchar_t* content) {
  wchar_t line[kMarkLineChars];
  if (WrapMark(content, line, kMarkLineChars)) InsertMarkText(EditorWindow(), line);
}

void AppendPosition(TextBuilder* builder, uint32_t seconds) {
  wchar_t time[kRecordingTimeChars];
  FormatRecordingTime(seconds, time, kRecordingTimeChars);
  TextAppend(builder, time);
}

// label, blank, quoted path and, for a verbose mark, size and date when the file opens.
int BuildPathContent(const wchar_t* label, const wchar_t* path, int verbose, TextBuilder* builder, int* opened) {
  wchar_t quoted[kMaxPathChars * 2 + 3];
  if (!QuotePath(path, quoted, sizeof quoted / sizeof quoted[0])) return 0;
  TextAppend(builder, label);
  TextAppendChar(builder, L' ');
  TextAppend(builder, quoted);
  *opened = 0;
  if (verbose) {
    wchar_t sizeAndDate[64];
    *opened = FormatFileSizeAndDate(path, sizeAndDate, 64) != 0;
    if (*opened) TextAppend(builder, sizeAndDate);
  }
  return !builder->overflow;
}

LRESULT InsertTextFileMark(HWND mainWindow, int verbose) {
  if (!DocumentPath()[0]) DocumentSave(mainWindow);
  if (!DocumentPath()[0]) return 0;
  wchar_t content[kMarkContentChars];
  TextBuilder builder;
  TextBuilderStart(&builder, content, kMarkContentChars);
  int opened = 0;
  if (BuildPathContent(kTextFileLabel, DocumentPath(), verbose, &builder, &opened)) InsertContent(content);
  return 0;
}

LRESULT InsertSoundFileMark(int verbose) {
  wchar_t path[kMaxPathChars + 1];
  HWND panel = PlayerPanelWindow();
  if (!PlayerPanelSoundPath(panel, path, kMaxPathChars + 1)) {
    SendMessageW(panel, WM_COMMAND, kCmdAmpFileOpen, 0);
    if (!PlayerPanelSoundPath(panel, path, kMaxPathChars + 1)) return 0;
  }
  wchar_t content[kMarkContentChars];
  TextBuilder builder;
  TextBuilderStart(&builder, content, kMarkContentChars);
  int opened = 0;
  if (!BuildPathContent(kSoundFileLabel, path, verbose, &builder, &opened)) return 0;
  if (opened) {
    TextAppendChar(&builder, L' ');
    TextAppend(&builder, kSoundCueLabel);
    AppendPosition(&builder, PlayerPanelPosition(panel));
  }
  if (!builder.overflow) InsertContent(content);
  return 0;
}

// The caret's line, zero-terminated; the caller frees it. Null when it cannot be read.
wchar_t* ReadCaretLine(HWND editor) {
  LRESULT start = SendMessageW(editor, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  if (start < 0) return nullptr;
  size_t length = static_cast<size_t>(SendMessageW(editor, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  if (length > kGoToLineLimit) length = kGoToLineLimit;
  WPARAM line = static_cast<WPARAM>(SendMessageW(editor, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
  auto* text = static_cast<wchar_t*>(calloc(length + 2, sizeof(wchar_t)));
  if (!text) return nullptr;
  text[0] = static_cast<wchar_t>(length + 1);
  LRESULT copied = SendMessageW(editor, EM_GETLINE, line, reinterpret_cast<LPARAM>(text));
  if (copied < 0 || static_cast<size_t>(copied) > length) copied = 0;
  text[copied] = 0;
  return text;
}

}  // namespace

void InsertMarkText(HWND editor, const wchar_t* text) {
  LRESULT start = SendMessageW(editor, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  if (start < 0) start = 0;
  LRESULT length = SendMessageW(editor, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  WPARAM end = static_cast<WPARAM>(start + length);
  SendMessageW(editor, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(editor, EM_SCROLLCARET, 0, 0);
  SendMessageW(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
  UpdateLineColumn(editor);
}

size_t FormatFileSizeAndDate(const wchar_t* path, wchar_t* out, size_t capacity) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size{};
  FILETIME written{};
  int ok = GetFileSizeEx(file, &size) && GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  if (!ok) return 0;
  uint64_t stamp = uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime;
  MarkDate date{};
  SYSTEMTIME utc, local;
  if (!IsZeroDateFileTime(stamp) && FileTimeToSystemTime(&written, &utc) &&
      SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
    date = {local.wDay, local.wMonth, local.wYear, local.wHour, local.wMinute, local.wSecond};
  wchar_t dateText[kMarkDateChars];
  FormatMarkDate(&date, dateText, kMarkDateChars);
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  TextAppendChar(&builder, L' ');
  TextAppendNumber(&builder, static_cast<uint64_t>(size.QuadPart), 1);
  TextAppendChar(&builder, L' ');
  TextAppend(&builder, dateText);
  return builder.overflow ? 0 : builder.length;
}

LRESULT InsertDateTimeMark(HWND) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  MarkDate date = {now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond};
  wchar_t content[kDateContentChars];
  FormatMarkDate(&date, content, kDateContentChars);
  InsertContent(content);
  return 0;
}

LRESULT InsertVersionMark(HWND) {
  char content[kVersionContentBytes];
  int used = WideCharToMultiByte(CP_ACP, 0, kProductName, -1, content, kVersionContentBytes, nullptr, nullptr);
  if (used <= 0) content[0] = 0;
  size_t length = lstrlenA(content);
  char version[64];
  wsprintfA(version, " Version %s", kProductVersion);
  if (length + lstrlenA(version) < kVersionContentBytes) lstrcpyA(content + length, version);
  wchar_t wide[kVersionContentBytes];
  if (!MultiByteToWideChar(CP_ACP, 0, content, -1, wide, kVersionContentBytes)) return 0;
  InsertContent(wide);
  return 0;
}

LRESULT InsertTextPathMark(HWND mainWindow) { return InsertTextFileMark(mainWindow, 0); }
LRESULT InsertTextVerboseMark(HWND mainWindow) { return InsertTextFileMark(mainWindow, 1); }
LRESULT InsertSoundPathMark(HWND) { return InsertSoundFileMark(0); }
LRESULT InsertSoundVerboseMark(HWND) { return InsertSoundFileMark(1); }

LRESULT InsertSoundCueMark(HWND) {
  wchar_t content[kCueContentChars];
  TextBuilder builder;
  TextBuilderStart(&builder, content, kCueContentChars);
  TextAppend(&builder, kSoundCueLabel);
  TextAppendChar(&builder, L' ');
  AppendPosition(&builder, PlayerPanelPosition(PlayerPanelWindow()));
  InsertContent(content);
  return 0;
}

LRESULT GoToMark(HWND) {
  wchar_t* line = ReadCaretLine(EditorWindow());
  if (!line) return 0;
  auto* target = static_cast<GoToTarget*>(calloc(1, sizeof(GoToTarget)));
  if (target) {
    ParseGoToLine(line, target);
    if (target->soundPath[0]) PlayerPanelOpenFile(PlayerPanelWindow(), target->soundPath);
    if (target->hasCue) PlayerPanelSeekToTime(PlayerPanelWindow(), target->cueSeconds);
    free(target);
  }
  free(line);
  return 0;
}
