// Resource numbers that are not command numbers. Command icons use the
// command's own number (app/command_ids.h), so they need no names here.
// Kept free of C++ so that windres can include it too.
#pragma once

#define IDI_APP 1           // application icon: 16, 32 and 48 px
#define IDB_MENU_CHECK 5    // 11x11 check mark, black on white
#define IDB_MENU_BULLET 6   // 11x11 radio bullet, black on white
