// The main window "TPWR": creation, layout of its four children, the command
// dispatcher and the orderly close. Start-up and the message loop are in app_main.
#pragma once
#include <windows.h>

HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// Lays out toolbar, editor, player panel and status bar for the client size.
void LayoutMainWindow(HWND window);

// Where each child goes for a client area of width x height.
struct MainLayout {
  RECT statusBar;  // empty when hidden
  RECT playerPanel;
  RECT editor;
  int minTrackWidth;
  int minTrackHeight;
};
void ComputeMainLayout(int width, int height, int toolbarHeight, int statusBarHeight, int panelHeight,
                       MainLayout* layout);

// Updates the greyed state of the editor commands in the menus and the toolbar.
void RefreshCommandStates();
// Restart request (after a settings restore or reset, or a change of look):
// the save prompt runs first, and Cancel there ends the request (returns 0).
// Otherwise the window is destroyed with settings writes suppressed, the
// program runs again in the same process, and the new window opens the same
// transcript at the same caret line.
int RequestRestart();
// The two halves of a restart, for commands that change the settings file in
// between: the save prompt and what the new window reopens (0 on Cancel), then
// the restart itself.
int PrepareRestart();
void RestartMainWindow();
// In a window made by a restart: reopens the transcript the old one showed.
void ReopenDocumentAfterRestart(HWND window);
