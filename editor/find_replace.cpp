#include "editor/find_replace.h"

#include "settings/settings_store.h"

FindState gFind;

void FindReplaceStart() {
  gFind = FindState{};
  gFind.message = RegisterWindowMessageW(L"commdlg_FindReplace");
  gFind.options = ReadSetting(Settings(), kSettingOptFind);
}

void FindReplaceSaveOptions() { WriteSetting(Settings(), kSettingOptFind, gFind.options); }
