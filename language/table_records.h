// Expands the command list and the text list into language records; the
// includer defines TPWR_PICK(key, english, german) to choose the text. Included
// once before each list (each list undefines its macros at its end).
#undef TPWR_POPUP
#undef TPWR_COMMAND
#undef TPWR_MENU_COMMAND
#undef TPWR_TEXT
#define TPWR_POPUP(id, Name, key, place, type, english, german) {id, TPWR_PICK(key, english, german)},
#define TPWR_COMMAND(id, Name, key, places, rule, keys, handler, english, german) \
  {id, TPWR_PICK(key, english, german)},
#define TPWR_MENU_COMMAND(id, Name, key, places, handler, english, german) {id, TPWR_PICK(key, english, german)},
#define TPWR_TEXT(id, Name, key, english, german) {id, TPWR_PICK(key, english, german)},
