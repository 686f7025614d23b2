#include "ui/toolbar_layout.h"

#include <cstdio>

const uint16_t kToolbarIconSizes[kToolbarSizeCount] = {16, 24, 32, 48, 64};

namespace {

int Contains(const uint16_t* list, size_t count, uint16_t command) {
  for (size_t i = 0; i < count; ++i)
    if (list[i] == command) return 1;
  return 0;
}

// Inserts command into list after row after (-1: at the top); returns its row, or -1 when full.
int InsertAfter(uint16_t* list, size_t* count, int after, uint16_t command) {
  if (*count >= kToolbarMaxButtons) return -1;
  size_t at = after < 0 ? 0 : static_cast<size_t>(after) + 1;
  if (at > *count) at = *count;
  for (size_t i = *count; i > at; --i) list[i] = list[i - 1];
  list[at] = command;
  ++*count;
  return static_cast<int>(at);
}

void RemoveAt(uint16_t* list, size_t* count, size_t row) {
  for (size_t i = row; i + 1 < *count; ++i) list[i] = list[i + 1];
  --*count;
}

int PreviousRow(int row, size_t count) {
  if (!count) return -1;
  if (row > 0) --row;
  return static_cast<size_t>(row) < count ? row : static_cast<int>(count) - 1;
}

int ValidRow(int row, size_t count) { return row >= 0 && static_cast<size_t>(row) < count; }

}  // namespace

const ToolbarButtonRecord* FindToolbarButton(const ToolbarButtonRecord* catalogue, uint16_t command) {
  for (const ToolbarButtonRecord* entry = catalogue; entry && entry->command; ++entry)
    if (entry->command == command) return entry;
  return nullptr;
}

size_t ToolbarLayoutLength(const uint16_t* layout) {
  size_t count = 0;
  while (layout && count < kToolbarMaxButtons && layout[count]) ++count;
  return count;
}

size_t CopyToolbarLayout(uint16_t* to, const uint16_t* from) {
  size_t count = ToolbarLayoutLength(from);
  for (size_t i = 0; i < count; ++i) to[i] = from[i];
  to[count] = 0;
  return count;
}

size_t ParseToolbarLayout(const char* text, const ToolbarButtonRecord* catalogue, uint16_t* layout) {
  size_t count = 0;
  const char* at = text ? text : "";
  while (*at && count < kToolbarMaxButtons) {
    while (*at == ' ' || *at == ',') ++at;
    if (!*at) break;
    uint32_t number = 0;
    int digits = 0;
    for (; *at >= '0' && *at <= '9'; ++at, ++digits)
      if (number < 100000) number = number * 10 + static_cast<uint32_t>(*at - '0');
    while (*at == ' ') ++at;
    int clean = digits && (!*at || *at == ',');
    while (*at && *at != ',') ++at;  // anything else in the item spoils it
    if (!clean) continue;
    for (const ToolbarButtonRecord* entry = catalogue; entry && entry->command; ++entry) {
      if (static_cast<int32_t>(entry->image) + 1 == static_cast<int32_t>(number)) {
        layout[count++] = entry->command;
        break;
      }
    }
  }
  layout[count] = 0;
  return count;
}

size_t FormatToolbarLayout(const uint16_t* layout, const ToolbarButtonRecord* catalogue, char* text,
                           size_t capacity) {
  if (!capacity) return 0;
  size_t used = 0;
  text[0] = 0;
  for (size_t i = 0; i < ToolbarLayoutLength(layout); ++i) {
    const ToolbarButtonRecord* entry = FindToolbarButton(catalogue, layout[i]);
    if (!entry) continue;
    char number[16];
    int length = snprintf(number, sizeof number, "%s%d", used ? "," : "", entry->image + 1);
    if (length < 0 || used + static_cast<size_t>(length) + 1 > capacity) {
      text[0] = 0;
      return 0;
    }
    for (int k = 0; k <= length; ++k) text[used + static_cast<size_t>(k)] = number[k];
    used += static_cast<size_t>(length);
  }
  return used;
}

int ToolbarIconSizeIndex(uint32_t size) {
  int index = 0;
  for (int i = 0; i < kToolbarSizeCount; ++i)
    if (kToolbarIconSizes[i] <= size) index = i;
  return index;
}

uint16_t ToolbarStripSize(uint32_t size) { return kToolbarIconSizes[ToolbarIconSizeIndex(size)]; }

void InitToolbarLists(ToolbarLists* lists, const ToolbarButtonRecord* catalogue, const uint16_t* layout,
                      uint16_t separator) {
  *lists = ToolbarLists{};
  lists->separator = separator;
  lists->chosenCount = ToolbarLayoutLength(layout);
  for (size_t i = 0; i < lists->chosenCount; ++i) lists->chosen[i] = layout[i];
  for (const ToolbarButtonRecord* entry = catalogue; entry && entry->command; ++entry) {
    if (lists->availableCount >= kToolbarMaxButtons) break;
    if (entry->command == separator || !Contains(lists->chosen, lists->chosenCount, entry->command))
      lists->available[lists->availableCount++] = entry->command;
  }
  lists->availableSelection = lists->availableCount ? 0 : -1;
  lists->chosenSelection = lists->chosenCount ? 0 : -1;
}

int ToolbarListsAdd(ToolbarLists* lists) {
  if (!ValidRow(lists->availableSelection, lists->availableCount)) return 0;
  size_t row = static_cast<size_t>(lists->availableSelection);
  uint16_t command = lists->available[row];
  int placed = InsertAfter(lists->chosen, &lists->chosenCount, lists->chosenSelection, command);
  if (placed < 0) return 0;
  lists->chosenSelection = placed;
  if (command != lists->separator) RemoveAt(lists->available, &lists->availableCount, row);
  lists->availableSelection = PreviousRow(lists->availableSelection, lists->availableCount);
  return 1;
}

int ToolbarListsRemove(ToolbarLists* lists) {
  if (!ValidRow(lists->chosenSelection, lists->chosenCount)) return 0;
  size_t row = static_cast<size_t>(lists->chosenSelection);
  uint16_t command = lists->chosen[row];
  if (command != lists->separator) {
    int placed = InsertAfter(lists->available, &lists->availableCount, lists->availableSelection, command);
    if (placed < 0) return 0;
    lists->availableSelection = placed;
  }
  RemoveAt(lists->chosen, &lists->chosenCount, row);
  lists->chosenSelection = PreviousRow(lists->chosenSelection, lists->chosenCount);
  return 1;
}

int ToolbarListsMove(ToolbarLists* lists, int step) {
  int row = lists->chosenSelection;
  int other = row + step;
  if (!ValidRow(row, lists->chosenCount) || !ValidRow(other, lists->chosenCount)) return 0;
  uint16_t swap = lists->chosen[row];
  lists->chosen[row] = lists->chosen[other];
  lists->chosen[other] = swap;
  lists->chosenSelection = other;
  return 1;
}
