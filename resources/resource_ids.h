// Resource numbers that are not command numbers. Command icons use the
// command's own number (app/command_ids.h), so they need no names here.
// Kept free of C++ so that windres can include it too.
#pragma once

#define IDI_APP 1           // application icon: 16, 32 and 48 px
#define IDB_MENU_CHECK 5    // 11x11 check mark, black on white
#define IDB_MENU_BULLET 6   // 11x11 radio bullet, black on white

// Toolbar image strips (29 images in a row, mask colour 0xC0C0C0): normal and
// hot at each offered size, numbered base + size in pixels.
#define IDB_TOOLBAR_NORMAL 1000  // 1016, 1024, 1032, 1048, 1064
#define IDB_TOOLBAR_HOT 2000     // 2016, 2024, 2032, 2048, 2064
