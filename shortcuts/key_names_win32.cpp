// Windows: the current keyboard layout says which key types a character.
#include <windows.h>

#include "shortcuts/key_names.h"

namespace {
// The key in the low byte and the shift state it needs in the high byte, so a
// character that needs Shift or AltGr never names the bare key.
int LayoutKeyForCharacter(wchar_t character) {
  SHORT answer = VkKeyScanW(character);
  if (answer == -1) return -1;
  return answer & 0xFFFF;
}
}  // namespace

KeyForCharacterRoutine gKeyForCharacter = LayoutKeyForCharacter;
