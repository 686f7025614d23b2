#include "settings/settings_keys.h"

#define TPWR_DEFINE_SETTINGS_KEY(Name, section, key, fallback) const SettingsKey kSetting##Name = {section, key, fallback};
TPWR_SETTINGS_KEYS(TPWR_DEFINE_SETTINGS_KEY)
#undef TPWR_DEFINE_SETTINGS_KEY

#define TPWR_LIST_SETTINGS_KEY(Name, section, key, fallback) &kSetting##Name,
const SettingsKey* const kSettingsKeys[] = {TPWR_SETTINGS_KEYS(TPWR_LIST_SETTINGS_KEY) nullptr};
#undef TPWR_LIST_SETTINGS_KEY
