// The status bar under the player panel: three panes (player time, line and
// column, player state icon), repainted at most every 100 ms, and the menu
// help text that covers the whole bar while a menu is open.
#pragma once
#include <windows.h>

constexpr int kStatusPanes = 3;
constexpr int kStatusPaneTime = 0;   // the player's position and length
constexpr int kStatusPaneLine = 1;   // the caret's line and column
constexpr int kStatusPaneState = 2;  // the player's state icon
constexpr int kStatusPaneChars = 260;
constexpr int kStatusHelpChars = 258;
constexpr wchar_t kStatusBarClass[] = L"sb";

struct StatusPane {
  int rightEdge;
  wchar_t text[kStatusPaneChars + 1];
  HICON icon;
};

struct StatusBar {
  HWND window;
  HFONT font;  // the editor's font, not owned
  StatusPane panes[kStatusPanes];
  wchar_t helpText[kStatusHelpChars + 1];  // non-empty while a menu is open
};

extern StatusBar gStatusBar;

HWND StatusBarCreate(HWND parent, HINSTANCE instance);
void StatusBarSetText(int pane, const wchar_t* text);
void StatusBarSetIcon(int pane, HICON icon);
// An empty text gives the panes back.
void StatusBarSetHelpText(const wchar_t* text);
int StatusBarShowsHelp();
void StatusBarSetFont(HFONT font);
int StatusBarIsVisible();
// Height for the current font: the larger of 20 and the font's height + 4, plus 5.
int StatusBarHeight();
// Right edges of the three panes for a bar of the given width and height.
void StatusBarPaneEdges(int width, int height, int edges[kStatusPanes]);
