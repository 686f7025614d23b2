#include "ui/toolbar.h"

#include "settings/settings_store.h"
#include "ui/theme.h"

namespace {

constexpr COLORREF kMaskColor = RGB(0xC0, 0xC0, 0xC0);

void AddButtons(ToolbarConfig* toolbar) {
  TBBUTTON buttons[kToolbarMaxButtons] = {};
  UINT count = 0;
  for (size_t i = 0; i < ToolbarLayoutLength(toolbar->layout); ++i) {
    const ToolbarButtonRecord* entry = FindToolbarButton(toolbar->catalogue, toolbar->layout[i]);
    if (!entry) continue;
    int separator = entry->style == kToolbarStyleSeparator;
    TBBUTTON& button = buttons[count++];
    button.iBitmap = separator ? 0 : entry->image;
    button.idCommand = separator ? 0 : entry->command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = separator ? BTNS_SEP : BTNS_BUTTON;
  }
  SendMessageW(toolbar->window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (count) SendMessageW(toolbar->window, TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(toolbar->window, TB_AUTOSIZE, 0, 0);
}

void ReleaseImages(ToolbarConfig* toolbar) {
  if (toolbar->images) ImageList_Destroy(toolbar->images);
  if (toolbar->hotImages) ImageList_Destroy(toolbar->hotImages);
  toolbar->images = nullptr;
  toolbar->hotImages = nullptr;
}

}  // namespace

HIMAGELIST CreateToolbarImageList(const ToolbarConfig* toolbar, uint16_t iconSize, int hot) {
  uint16_t size = ToolbarStripSize(iconSize);
  uint16_t base = hot ? toolbar->hotStrips : toolbar->normalStrips;
  HBITMAP strip = static_cast<HBITMAP>(
      LoadImageW(toolbar->instance, MAKEINTRESOURCEW(base + size), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!strip) return nullptr;
  BITMAP info{};
  GetObjectW(strip, sizeof info, &info);
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, info.bmWidth / size, 0);
  if (list) ImageList_AddMasked(list, strip, kMaskColor);
  DeleteObject(strip);
  return list;
}

void LoadToolbarLayout(ToolbarConfig* toolbar) {
  char text[kToolbarLayoutTextChars] = "";
  ReadString(toolbar->store, toolbar->key->section, toolbar->key->name, "", text, sizeof text);
  if (!ParseToolbarLayout(text, toolbar->catalogue, toolbar->layout))
    CopyToolbarLayout(toolbar->layout, toolbar->defaultLayout);
}

int SaveToolbarLayout(ToolbarConfig* toolbar) {
  char text[kToolbarLayoutTextChars] = "";
  FormatToolbarLayout(toolbar->layout, toolbar->catalogue, text, sizeof text);
  int written = WriteString(toolbar->store, toolbar->key->section, toolbar->key->name, text);
  Flush(toolbar->store);
  return written;
}

HWND CreateToolbar(ToolbarConfig* toolbar, HWND parent, HINSTANCE instance, uint16_t iconSize,
                   const uint16_t* layout) {
  DestroyToolbar(toolbar);
  toolbar->parent = parent;
  toolbar->instance = instance;
  toolbar->iconSize = iconSize;
  if (layout)
    CopyToolbarLayout(toolbar->layout, layout);
  else
    LoadToolbarLayout(toolbar);
  toolbar->window = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT |
                                        CCS_TOP | CCS_NODIVIDER,
                                    0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(toolbar->controlId)),
                                    instance, nullptr);
  if (!toolbar->window) return nullptr;
  toolbar->images = CreateToolbarImageList(toolbar, iconSize, 0);
  toolbar->hotImages = CreateToolbarImageList(toolbar, iconSize, 1);
  SendMessageW(toolbar->window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbar->images));
  SendMessageW(toolbar->window, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbar->hotImages));
  ThemeToolbar(toolbar->window);
  AddButtons(toolbar);
  return toolbar->window;
}

void DestroyToolbar(ToolbarConfig* toolbar) {
  if (toolbar->window) DestroyWindow(toolbar->window);
  toolbar->window = nullptr;
  ReleaseImages(toolbar);
}

int ToolbarVisibleHeight(const ToolbarConfig* toolbar) {
  // The style, not IsWindowVisible: the parent may not be shown yet.
  if (!toolbar->window || !(GetWindowLongPtrW(toolbar->window, GWL_STYLE) & WS_VISIBLE)) return 0;
  RECT box;
  GetWindowRect(toolbar->window, &box);
  return box.bottom - box.top;
}
