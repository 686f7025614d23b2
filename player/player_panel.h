// The player panel: the strip under the editor that holds the transport
// buttons, the seek bar and the volume bar. For now it is the empty strip that
// the main window lays out; its controls come with the panel work.
#pragma once
#include <windows.h>

constexpr wchar_t kPlayerPanelClass[] = L"AP";
constexpr int kPlayerPanelHeight = 25;

HWND CreatePlayerPanel(HWND parent, HINSTANCE instance);
