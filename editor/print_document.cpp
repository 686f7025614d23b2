// Printing the transcript on the UI thread: one editor line per printed line
// (more when it is wider than the page), no header, footer or margin of our own.
#include "editor/print_document.h"

#include <commdlg.h>

#include <cstdlib>

#include "language/language.h"
#include "ui/message_box.h"

namespace {

constexpr DWORD kPrintDialogFlags = PD_RETURNDC | PD_COLLATE | PD_NOPAGENUMS | PD_NOSELECTION;

size_t FitOnDevice(void* context, const wchar_t* text, size_t count, int32_t width) {
  int fit = 0;
  SIZE size{};
  if (!GetTextExtentExPointW(static_cast<HDC>(context), text, static_cast<int>(count), width, &fit, nullptr, &size))
    return count;  // unmeasurable: print it as it comes rather than lose it
  return fit < 0 ? 0 : static_cast<size_t>(fit);
}

// One page from cursor, which ends where the next page begins.
int PrintPage(const PrintDevice* device, HFONT font, const PrintText* text, const PrintMeasure* measure,
              uint32_t linesPerPage, int32_t lineHeight, PrintCursor* cursor) {
  if (device->startPage(device->dc) <= 0) return 0;
  SelectObject(device->dc, font);  // some drivers reset the device context at a new page
  const wchar_t* piece = nullptr;
  size_t count = 0;
  for (uint32_t slot = 0; slot < linesPerPage && PrintNextPiece(text, measure, cursor, &piece, &count); ++slot)
    if (count) device->textOut(device->dc, 0, static_cast<int>(slot) * lineHeight, piece, static_cast<int>(count));
  return device->endPage(device->dc) > 0;
}

// Every page once, each repeats times in a row.
int PrintPass(const PrintDevice* device, HFONT font, const PrintText* text, const PrintMeasure* measure,
              uint32_t linesPerPage, int32_t lineHeight, uint32_t repeats) {
  PrintCursor cursor{};
  do {
    PrintCursor pageStart = cursor;
    for (uint32_t copy = 0; copy < repeats; ++copy) {
      cursor = pageStart;
      if (!PrintPage(device, font, text, measure, linesPerPage, lineHeight, &cursor)) return 0;
    }
  } while (!PrintAtEnd(text, &cursor));
  return 1;
}

// The editor font at the same point size on the printer.
HFONT CreatePrinterFont(HWND editor, HDC printer) {
  LOGFONTW font{};
  HFONT editorFont = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
  if (!editorFont || !GetObjectW(editorFont, sizeof font, &font))
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  HDC screen = GetDC(nullptr);
  int screenDpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  int points = MulDiv(72, font.lfHeight, screenDpi ? screenDpi : 96);
  font.lfHeight = -MulDiv(-points, GetDeviceCaps(printer, LOGPIXELSY), 72);
  return CreateFontIndirectW(&font);
}

// The editor's lines as the control counts them (its wrapped lines when it wraps).
struct EditorLines {
  wchar_t* text;
  PrintLine* lines;
  PrintText view;
};

int ReadEditorLines(HWND editor, EditorLines* out) {
  *out = EditorLines{};
  LRESULT lineCount = SendMessageW(editor, EM_GETLINECOUNT, 0, 0);
  int length = GetWindowTextLengthW(editor);
  if (lineCount <= 0 || length < 0) return 0;
  out->text = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
  out->lines = static_cast<PrintLine*>(malloc(static_cast<size_t>(lineCount) * sizeof(PrintLine)));
  if (!out->text || !out->lines) return 0;
  size_t got = static_cast<size_t>(GetWindowTextW(editor, out->text, length + 1));
  for (LRESULT n = 0; n < lineCount; ++n) {
    LRESULT start = SendMessageW(editor, EM_LINEINDEX, static_cast<WPARAM>(n), 0);
    LRESULT size = start < 0 ? 0 : SendMessageW(editor, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    PrintLine& line = out->lines[n];
    line.start = start < 0 || static_cast<size_t>(start) > got ? got : static_cast<size_t>(start);
    line.length = size < 0 ? 0 : static_cast<size_t>(size);
    if (line.length > got - line.start) line.length = got - line.start;  // the text is what was read
  }
  out->view = PrintText{out->text, out->lines, static_cast<uint32_t>(lineCount)};
  return 1;
}

void FreeEditorLines(EditorLines* lines) {
  free(lines->text);
  free(lines->lines);
  *lines = EditorLines{};
}

void ReportFailure(HWND owner) {
  wchar_t message[400];
  GetText(kTextPrintFailed, message, 400);
  ShowMessage(owner, message, MB_ICONHAND | MB_OK);
}

}  // namespace

PrintDevice PrinterDevice(HDC dc) {
  PrintDevice device{};
  device.dc = dc;
  device.pageWidth = GetDeviceCaps(dc, HORZRES);
  device.pageHeight = GetDeviceCaps(dc, VERTRES);
  device.startDoc = StartDocW;
  device.startPage = StartPage;
  device.endPage = EndPage;
  device.endDoc = EndDoc;
  device.abortDoc = AbortDoc;
  device.textOut = TextOutW;
  return device;
}

PrintOutcome PrintPages(const PrintDevice* device, HFONT font, const PrintText* text, uint32_t copies, int collate) {
  HGDIOBJ oldFont = SelectObject(device->dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(device->dc, &metrics);
  int32_t lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  uint32_t linesPerPage = PrintLinesPerPage(device->pageHeight, lineHeight);
  PrintMeasure measure{FitOnDevice, device->dc, device->pageWidth};
  DOCINFOW document{};
  document.cbSize = sizeof document;
  PrintOutcome outcome = kPrintDone;
  if (device->startDoc(device->dc, &document) <= 0) {
    outcome = GetLastError() == ERROR_CANCELLED ? kPrintCancelled : kPrintFailed;
  } else {
    PrintCopies plan = PrintCopyPlan(copies, collate);
    int printed = 1;
    for (uint32_t pass = 0; pass < plan.passes && printed; ++pass)
      printed = PrintPass(device, font, text, &measure, linesPerPage, lineHeight, plan.repeats);
    // A job left half-open would hold the printer's queue.
    if (!printed || device->endDoc(device->dc) <= 0) {
      device->abortDoc(device->dc);
      outcome = kPrintFailed;
    }
  }
  SelectObject(device->dc, oldFont);
  return outcome;
}

void PrintDocument(HWND mainWindow, HWND editor) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = mainWindow;
  dialog.Flags = kPrintDialogFlags;
  dialog.nCopies = 1;
  if (PrintDlgW(&dialog) && dialog.hDC) {
    EditorLines lines;
    HFONT font = nullptr;
    if (ReadEditorLines(editor, &lines) && (font = CreatePrinterFont(editor, dialog.hDC)) != nullptr) {
      PrintDevice device = PrinterDevice(dialog.hDC);
      EnableWindow(mainWindow, FALSE);
      PrintOutcome outcome = PrintPages(&device, font, &lines.view, dialog.nCopies, (dialog.Flags & PD_COLLATE) != 0);
      EnableWindow(mainWindow, TRUE);
      if (outcome == kPrintFailed) ReportFailure(mainWindow);
    }
    if (font) DeleteObject(font);
    FreeEditorLines(&lines);
  }
  if (dialog.hDC) DeleteDC(dialog.hDC);
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
}
