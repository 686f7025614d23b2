// A toolbar of image buttons bound to a button catalogue, a default layout and
// a settings key that keeps the user's layout. The images come from the
// program's strips, normal and hot, at the offered icon sizes.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "settings/settings_keys.h"
#include "ui/toolbar_layout.h"

struct SettingsStore;

struct ToolbarConfig {
  HWND window;  // null while not created
  HWND parent;
  HINSTANCE instance;
  uint16_t controlId;
  const ToolbarButtonRecord* catalogue;
  const uint16_t* defaultLayout;  // ended by 0
  SettingsStore* store;
  const SettingsKey* key;
  uint16_t iconSize;
  uint16_t separatorId;
  uint16_t normalStrips;  // resource base of the strips: base + size in pixels
  uint16_t hotStrips;
  uint16_t layout[kToolbarMaxButtons + 1];  // the current layout, ended by 0
  HIMAGELIST images;
  HIMAGELIST hotImages;
};

// Destroys an existing toolbar window, takes over layout (or loads it when
// null) and creates the control at the top of parent. The window handle, or null.
HWND CreateToolbar(ToolbarConfig* toolbar, HWND parent, HINSTANCE instance, uint16_t iconSize,
                   const uint16_t* layout);
// The window and its image lists (the end of the parent window).
void DestroyToolbar(ToolbarConfig* toolbar);
// Reads the layout from the settings key; the default layout when the key is
// missing or names no catalogue entry.
void LoadToolbarLayout(ToolbarConfig* toolbar);
// Writes the layout to the settings key and flushes the settings.
int SaveToolbarLayout(ToolbarConfig* toolbar);
// Height of the visible toolbar, 0 when hidden or missing.
int ToolbarVisibleHeight(const ToolbarConfig* toolbar);
// The toolbar images of an icon size for other lists (the customisation
// dialog's); the caller destroys it.
HIMAGELIST CreateToolbarImageList(const ToolbarConfig* toolbar, uint16_t iconSize, int hot);
