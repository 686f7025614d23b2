// The main window's toolbar: its catalogue and default layout, View >
// Toolbar, Options > Customize Toolbar, the tooltips and the dark look's
// background.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "ui/toolbar.h"

constexpr uint16_t kToolbarSeparator = 98;
constexpr uint16_t kMainToolbarId = 1;
extern const ToolbarButtonRecord kMainToolbarCatalogue[];
extern const uint16_t kMainToolbarDefaultLayout[];
extern ToolbarConfig gToolbar;

// In the main window's creation, with the icon size of the run.
HWND CreateMainToolbar(HWND window);
// WM_NOTIFY from the toolbar: tooltips and custom drawing. Sets *handled.
LRESULT MainToolbarOnNotify(NMHDR* header, int* handled);
// View > Toolbar and Options > Customize Toolbar.
LRESULT ToolbarCommand(HWND window, uint16_t command);
LRESULT OptToolbarCommand(HWND window, uint16_t command);
// The customisation dialog: 0 on Cancel (and on OK with no buttons), else the
// chosen icon size; the new layout is then in gToolbar.layout.
uint16_t RunToolbarDialog(HWND owner);
