// File > Print: the common Print dialog, the printer font made from the
// editor's, and the page loop over the device. The layout is print_layout's.
#pragma once
#include <windows.h>

#include <cstdint>

#include "editor/print_layout.h"

// The printer's document and page calls, and the drawing; tests stand in a
// memory device context and record the calls.
struct PrintDevice {
  HDC dc;
  int32_t pageWidth;   // HORZRES
  int32_t pageHeight;  // VERTRES
  int(WINAPI* startDoc)(HDC, const DOCINFOW*);
  int(WINAPI* startPage)(HDC);
  int(WINAPI* endPage)(HDC);
  int(WINAPI* endDoc)(HDC);
  int(WINAPI* abortDoc)(HDC);
  BOOL(WINAPI* textOut)(HDC, int, int, const wchar_t*, int);
};
// The device's calls are GDI's own.
PrintDevice PrinterDevice(HDC dc);

enum PrintOutcome { kPrintDone, kPrintCancelled, kPrintFailed };
// Prints text in font, copies as asked. A page that fails ends the job with
// AbortDoc. Cancelled: the user cancelled at the start of the document (the
// file name of "print to file").
PrintOutcome PrintPages(const PrintDevice* device, HFONT font, const PrintText* text, uint32_t copies, int collate);

// Command 107: the Print dialog, then the editor's lines on the chosen
// printer while the main window is disabled; a failed job is reported.
void PrintDocument(HWND mainWindow, HWND editor);
