// The toolbar's button catalogue and layout: reading and writing the layout
// value, and the customisation dialog's two lists as plain arrays. Portable,
// so that it is tested on the host under the sanitizers too.
#pragma once
#include <cstddef>
#include <cstdint>

// One catalogue record: 5 bytes, as the catalogue is laid out.
#pragma pack(push, 1)
struct ToolbarButtonRecord {
  uint16_t command;  // 0 ends the catalogue
  int16_t image;     // index in the image strips; -1 for the separator
  uint8_t style;     // kToolbarStyleSeparator or 0
};
#pragma pack(pop)
static_assert(sizeof(ToolbarButtonRecord) == 5, "catalogue records are packed");

constexpr uint8_t kToolbarStyleSeparator = 1;
constexpr size_t kToolbarMaxButtons = 64;  // longest layout kept
constexpr size_t kToolbarLayoutTextChars = kToolbarMaxButtons * 4 + 1;
constexpr int kToolbarSizeCount = 5;
extern const uint16_t kToolbarIconSizes[kToolbarSizeCount];  // 16, 24, 32, 48, 64

const ToolbarButtonRecord* FindToolbarButton(const ToolbarButtonRecord* catalogue, uint16_t command);
size_t ToolbarLayoutLength(const uint16_t* layout);
// Copies a layout ended by 0, at most kToolbarMaxButtons entries. Returns the count.
size_t CopyToolbarLayout(uint16_t* to, const uint16_t* from);

// The layout value: decimal numbers separated by ",", each an image index + 1
// (0 for a separator). Numbers that match no catalogue entry are skipped.
// Writes the commands, ended by 0, into layout (kToolbarMaxButtons + 1 room)
// and returns their count; 0 means the caller takes the default layout.
size_t ParseToolbarLayout(const char* text, const ToolbarButtonRecord* catalogue, uint16_t* layout);
// The layout as that value; commands not in the catalogue are left out.
// Returns the length, 0 when it does not fit.
size_t FormatToolbarLayout(const uint16_t* layout, const ToolbarButtonRecord* catalogue, char* text,
                           size_t capacity);

// The icon size list's row for a size: the offered size equal to it or the
// largest below it, a size below 16 counting as 16.
int ToolbarIconSizeIndex(uint32_t size);
// The offered size a strip is drawn at for any stored size.
uint16_t ToolbarStripSize(uint32_t size);

// The customisation dialog's lists: available buttons (the catalogue entries
// not on the toolbar, and always the separator) and the toolbar's buttons.
// A selection is a row, or -1 for none.
struct ToolbarLists {
  uint16_t available[kToolbarMaxButtons];
  size_t availableCount;
  int availableSelection;
  uint16_t chosen[kToolbarMaxButtons];
  size_t chosenCount;
  int chosenSelection;
  uint16_t separator;
};
void InitToolbarLists(ToolbarLists* lists, const ToolbarButtonRecord* catalogue, const uint16_t* layout,
                      uint16_t separator);
// ">>": the selected available row goes in after the selected toolbar row (at
// the top when none) and is selected there; the separator stays available.
// The available selection moves to the previous row. 0 when nothing moved.
int ToolbarListsAdd(ToolbarLists* lists);
// "<<": the same the other way; a separator is simply removed.
int ToolbarListsRemove(ToolbarLists* lists);
// Move Up (-1) and Move Down (+1): the selected toolbar row swaps with its neighbour.
int ToolbarListsMove(ToolbarLists* lists, int step);
