// Static definitions of the main menu and the context menu; the built menus
// take their labels from the current language table (menu_builder.h).
#pragma once
#include <cstddef>
#include <cstdint>

// Menu item type flags, with the values of the Win32 MFT_ constants.
constexpr uint32_t kMenuTypeString = 0;
constexpr uint32_t kMenuTypeSeparator = 0x800;
constexpr uint32_t kMenuTypeRightJustify = 0x4000;

// One entry; identifier 0 ends a level, 0xFFFF with kMenuTypeSeparator is a bar.
struct MenuDefinition {
  uint16_t id;
  uint32_t type;
  const MenuDefinition* children;  // null for a command
};

extern const MenuDefinition kMainMenuDefinition[];
extern const MenuDefinition kContextMenuDefinition[];

// Commands whose menu items show an icon; the icon's resource number is the
// command number. Ends with 0.
extern const uint16_t kMenuIconCommands[];
