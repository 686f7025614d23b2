// What the theme's two files share: the entry points in use and the state.
#pragma once
#include "ui/theme.h"

struct ThemeState {
  ThemeEntryPoints points;
  int supported;       // every dark-mode entry point was found
  int dark;            // the effective look
  int scrollRedirect;  // the scroll-bar redirection is on
};

ThemeState* Theme();
