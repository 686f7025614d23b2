// Every key of the settings file, declared once with its section and default.
// A composite value (placement, colours, font, lists) is read and written by
// settings_values.h under the section and key named here.
#pragma once
#include <cstdint>

struct SettingsStore;

constexpr char kSettingsSection[] = "TPWR";  // the product's short name

struct SettingsKey {
  const char* section;
  const char* name;   // null for a section whose keys are data (Keys)
  uint32_t fallback;  // the default of an integer value
};

//   Name           section    key        default
#define TPWR_SETTINGS_KEYS(KEY)                                                 \
  KEY(Pos,          "TPWR",    "Pos",     0) /* main window placement */      \
  KEY(Opt,          "TPWR",    "Opt",     0) /* main option bits */           \
  KEY(OptFind,      "TPWR",    "OptFind", 1) /* find and replace options */   \
  KEY(IconTB,       "TPWR",    "IconTB",  0) /* toolbar icon size, 0: default */ \
  KEY(IconMn,       "TPWR",    "IconMn",  0) /* menu icon size, 0: default */ \
  KEY(DarkMode,     "TPWR",    "DM",      0) /* dark-mode choice 0, 1, 2 */   \
  KEY(Color,        "TPWR",    "Color",   0) /* editor colour pair */         \
  KEY(CustomColors, "TPWR",    "CC",      0) /* the colour dialog's 16 */     \
  KEY(Font,         "TPWR",    "Font",    0) /* editor font */                \
  KEY(Language,     "TPWR",    "Language", 0) /* interface language code */  \
  KEY(Version,      "TPWR",    "Version", 0) /* written at every save */      \
  KEY(Toolbar,      "TPWR",    "TB",      0) /* toolbar buttons */            \
  KEY(StepBack,     "Player",  "StepBak", 5) /* seconds of Step Back */       \
  KEY(StepForward,  "Player",  "StepFwd", 5) /* seconds of Step Forward */    \
  KEY(Offset,       "Player",  "Offset",  0) /* seconds added to exported cue times, signed */ \
  KEY(Autosave,     "TPWR",    "Autosave", 30) /* seconds between recovery copies, 0: none */ \
  KEY(Speed,        "Player",  "Speed",   100) /* playback speed, percent */  \
  KEY(Rewind,       "Player",  "Rewind",  1000) /* ms back on resume, 0 off */ \
  KEY(PedalLeft,    "Pedal",   "Left",    1) /* 0 nothing, 1 Rew, 2 HoldPlay, 3 FF */ \
  KEY(PedalMiddle,  "Pedal",   "Middle",  2)                                   \
  KEY(PedalRight,   "Pedal",   "Right",   3)                                   \
  KEY(PedalLeftBit, "Pedal",   "LeftBit", 0) /* the pedal's bit in the report */ \
  KEY(PedalMiddleBit, "Pedal", "MiddleBit", 1)                                 \
  KEY(PedalRightBit, "Pedal",  "RightBit", 2)                                  \
  KEY(PedalVendor,  "Pedal",   "Vendor",  0x05F3) /* the pedal's USB vendor, 0 any */ \
  KEY(PedalProduct, "Pedal",   "Product", 0) /* its product, 0 any */         \
  KEY(PedalBackground, "Pedal", "Background", 0) /* 1: also while another program is active */ \
  KEY(Keys,         "Keys",    nullptr,   0) /* user shortcuts: code=name */  \
  KEY(UseThis,      "UseThis", "Opt",     0) /* marker: use this per-user file */ \
  KEY(Desktop,      "Desk",    ".",       0) /* desktop size at the last start */

#define TPWR_DECLARE_SETTINGS_KEY(Name, section, key, fallback) extern const SettingsKey kSetting##Name;
TPWR_SETTINGS_KEYS(TPWR_DECLARE_SETTINGS_KEY)
#undef TPWR_DECLARE_SETTINGS_KEY

// All of them, for walks over the table; ends with null.
extern const SettingsKey* const kSettingsKeys[];

// An integer value, or the key's default.
uint32_t ReadSetting(SettingsStore* store, const SettingsKey& key);
int WriteSetting(SettingsStore* store, const SettingsKey& key, uint32_t value);
