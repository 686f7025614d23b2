// A small Windows console program the GUI test script runs beside Tapewright
// to see what a typist would see: which windows are open (dialogs, popup
// menus), the layout of the main window's children, the editor's text. (Menus
// themselves belong to their process under Wine and cannot be read here.) It
// also puts text on the clipboard and ends a program left running.
//
//   gui_probe DESKTOP wait CLASS TITLE MS   a top-level window (CLASS or "*", TITLE prefix)
//   gui_probe DESKTOP gone CLASS TITLE MS   until no such window is left
//   gui_probe DESKTOP layout                client size, zoomed state and each child
//   gui_probe DESKTOP text FILE             the editor's text to FILE (UTF-16LE, no BOM)
//   gui_probe DESKTOP modified              1 or 0
//   gui_probe DESKTOP selection             the editor's selection: start end
//   gui_probe DESKTOP active MS             until the main window is the active one
//   gui_probe DESKTOP clip FILE             FILE (UTF-16LE) onto the clipboard
//   gui_probe DESKTOP command ID...         posts WM_COMMAND ID to the main window
//   gui_probe DESKTOP toolbar ID...         the main toolbar: "buttons N", its screen box
//                                           "box L T R B", then "ID INDEX" (-1: not on it)
//   gui_probe DESKTOP kill                  ends the process of the main window
//   gui_probe - printer PPD FILE            installs "Tapewright Test Printer" (Wine's
//                                           PostScript driver, printing into FILE, a Unix
//                                           path) as the default printer
//
// Exit code 0 on success, 1 when the check did not hold, 2 on bad use.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kEditorId = 27;
constexpr DWORD kPollMs = 100;

struct Search {
  const wchar_t* className;
  const wchar_t* titlePrefix;
  HWND found;
  wchar_t title[256];
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t className[64] = L"";
  wchar_t title[256] = L"";
  GetClassNameW(window, className, 64);
  GetWindowTextW(window, title, 256);
  if (wcscmp(search->className, L"*") != 0 && wcscmp(search->className, className) != 0) return TRUE;
  if (wcsncmp(title, search->titlePrefix, wcslen(search->titlePrefix)) != 0) return TRUE;
  search->found = window;
  wcsncpy(search->title, title, 255);
  search->title[255] = 0;
  return FALSE;
}

HWND FindTopLevel(const wchar_t* className, const wchar_t* titlePrefix, wchar_t* title) {
  Search search = {className, titlePrefix, nullptr, L""};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found && title) wcscpy(title, search.title);
  return search.found;
}

HWND MainWindow() { return FindTopLevel(L"TPWR", L"", nullptr); }

int WaitFor(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, int present) {
  DWORD start = GetTickCount();
  wchar_t found[256] = L"";
  for (;;) {
    HWND window = FindTopLevel(className, title, found);
    if ((window != nullptr) == (present != 0)) {
      if (present) wprintf(L"%ls\n", found);
      return 0;
    }
    if (GetTickCount() - start > timeoutMs) return 1;
    Sleep(kPollMs);
  }
}

void PrintChild(HWND main, HWND child) {
  wchar_t className[64] = L"";
  GetClassNameW(child, className, 64);
  RECT box;
  GetWindowRect(child, &box);
  MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&box), 2);
  wprintf(L"child %ls %d %ld %ld %ld %ld %d\n", className, GetDlgCtrlID(child), box.left, box.top, box.right,
          box.bottom, IsWindowVisible(child) ? 1 : 0);
}

int PrintLayout() {
  HWND main = MainWindow();
  if (!main) return 1;
  RECT client;
  GetClientRect(main, &client);
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  wprintf(L"client %ld %ld\nzoomed %d\nscreen %ld %ld\nenabled %d\n", client.right, client.bottom,
          IsZoomed(main) ? 1 : 0, screen.right - screen.left, screen.bottom - screen.top, IsWindowEnabled(main) ? 1 : 0);
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) PrintChild(main, child);
  return 0;
}

HWND Editor() {
  HWND main = MainWindow();
  return main ? GetDlgItem(main, kEditorId) : nullptr;
}

int SaveEditorText(const wchar_t* path) {
  HWND editor = Editor();
  if (!editor) return 1;
  LRESULT length = SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  LRESULT got = SendMessageW(editor, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  FILE* file = _wfopen(path, L"wb");
  if (!file) return 1;
  size_t written = fwrite(text.data(), sizeof(wchar_t), static_cast<size_t>(got), file);
  fclose(file);
  return written == static_cast<size_t>(got) ? 0 : 1;
}

int PutOnClipboard(const wchar_t* path) {
  FILE* file = _wfopen(path, L"rb");
  if (!file) return 1;
  std::vector<wchar_t> text;
  wchar_t buffer[4096];
  size_t got;
  while ((got = fread(buffer, sizeof(wchar_t), 4096, file)) > 0) text.insert(text.end(), buffer, buffer + got);
  fclose(file);
  text.push_back(0);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() * sizeof(wchar_t));
  if (!memory) return 1;
  memcpy(GlobalLock(memory), text.data(), text.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  for (int attempt = 0; attempt < 50; attempt++) {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      int ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      CloseClipboard();
      return ok ? 0 : 1;
    }
    Sleep(kPollMs);
  }
  GlobalFree(memory);
  return 1;
}

int KillMain() {
  HWND main = MainWindow();
  if (!main) return 0;
  DWORD id = 0;
  GetWindowThreadProcessId(main, &id);
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
  if (!process) return 1;
  int ok = TerminateProcess(process, 3);
  CloseHandle(process);
  return ok ? 0 : 1;
}

// A printer for the Print dialog: Wine's PostScript driver with the given PPD
// (it needs one in the driver folder), printing into a file (Wine takes a
// Unix path as a port).
int InstallPrinter(const wchar_t* ppd, const wchar_t* output) {
  constexpr wchar_t kDriver[] = L"Wine PostScript Driver";
  constexpr wchar_t kPrinter[] = L"Tapewright Test Printer";
  wchar_t folder[MAX_PATH];
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed)) return 1;
  std::wstring target = std::wstring(folder) + L"\\tapewright-test.ppd";
  if (!CopyFileW(ppd, target.c_str(), FALSE)) return 1;
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(kDriver);
  driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = const_cast<wchar_t*>(L"tapewright-test.ppd");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) return 1;
  HANDLE existing = nullptr;
  PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(const_cast<wchar_t*>(kPrinter), &existing, &access)) {
    DeletePrinter(existing);  // made anew for this case's output file
    ClosePrinter(existing);
  }
  PRINTER_INFO_2W printer{};
  printer.pPrinterName = const_cast<wchar_t*>(kPrinter);
  printer.pPortName = const_cast<wchar_t*>(output);
  printer.pDriverName = const_cast<wchar_t*>(kDriver);
  printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  printer.pDatatype = const_cast<wchar_t*>(L"RAW");
  HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added) return 1;
  ClosePrinter(added);
  return SetDefaultPrinterW(kPrinter) ? 0 : 1;
}

// Only messages without pointers cross processes: the count and the command indexes.
int PrintToolbar(int argc, wchar_t** argv) {
  HWND main = MainWindow();
  HWND toolbar = main ? FindWindowExW(main, nullptr, L"ToolbarWindow32", nullptr) : nullptr;
  if (!toolbar) return 1;
  RECT box;
  GetWindowRect(toolbar, &box);
  wprintf(L"buttons %ld\nbox %ld %ld %ld %ld\n", static_cast<long>(SendMessageW(toolbar, 0x418 /* TB_BUTTONCOUNT */, 0, 0)),
          box.left, box.top, box.right, box.bottom);
  for (int i = 3; i < argc; i++) {
    WPARAM id = wcstoul(argv[i], nullptr, 10);
    wprintf(L"%lu %ld\n", static_cast<unsigned long>(id), static_cast<long>(SendMessageW(toolbar, 0x419 /* TB_COMMANDTOINDEX */, id, 0)));
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  // The program under test runs on a virtual desktop of its own.
  if (HDESK desktop = OpenDesktopW(argv[1], 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
  const wchar_t* command = argv[2];
  int result = 2;
  if (!wcscmp(command, L"wait") && argc == 6) result = WaitFor(argv[3], argv[4], wcstoul(argv[5], nullptr, 10), 1);
  if (!wcscmp(command, L"gone") && argc == 6) result = WaitFor(argv[3], argv[4], wcstoul(argv[5], nullptr, 10), 0);
  if (!wcscmp(command, L"layout")) result = PrintLayout();
  if (!wcscmp(command, L"text") && argc == 4) result = SaveEditorText(argv[3]);
  if (!wcscmp(command, L"modified")) {
    HWND editor = Editor();
    result = editor ? 0 : 1;
    if (editor) wprintf(L"%d\n", SendMessageW(editor, EM_GETMODIFY, 0, 0) ? 1 : 0);
  }
  if (!wcscmp(command, L"selection")) {
    HWND editor = Editor();
    result = editor ? 0 : 1;
    // Across processes only the packed answer arrives (texts below 65536 characters).
    LRESULT packed = editor ? SendMessageW(editor, EM_GETSEL, 0, 0) : 0;
    if (editor) wprintf(L"%u %u\n", LOWORD(packed), HIWORD(packed));
  }
  if (!wcscmp(command, L"active") && argc == 4) {
    DWORD start = GetTickCount();
    result = 1;
    while (result && GetTickCount() - start <= wcstoul(argv[3], nullptr, 10)) {
      HWND main = MainWindow();
      if (main && GetForegroundWindow() == main) result = 0;
      else Sleep(kPollMs);
    }
  }
  if (!wcscmp(command, L"printer") && argc == 5) result = InstallPrinter(argv[3], argv[4]);
  if (!wcscmp(command, L"clip") && argc == 4) result = PutOnClipboard(argv[3]);
  if (!wcscmp(command, L"command")) {
    HWND main = MainWindow();
    result = main ? 0 : 1;
    for (int i = 3; main && i < argc; i++) PostMessageW(main, WM_COMMAND, wcstoul(argv[i], nullptr, 10), 0);
  }
  if (!wcscmp(command, L"toolbar")) result = PrintToolbar(argc, argv);
  if (!wcscmp(command, L"kill")) result = KillMain();
  fflush(stdout);
  return result;
}
