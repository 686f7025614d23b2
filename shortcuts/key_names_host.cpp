// Host build: no keyboard layout, so no key types a character of its own.
#include "shortcuts/key_names.h"

namespace {
int NoKeyForCharacter(wchar_t) { return -1; }
}  // namespace

KeyForCharacterRoutine gKeyForCharacter = NoKeyForCharacter;
