// Arbitrary bytes as the settings file, followed by a sequence of operations on
// it. Input: two bytes of file length, the file, then operations, each an opcode
// byte and its arguments (names and values as a length byte and bytes). Every
// edit must keep the text consistent, and a well-formed entry written must read back.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "settings/settings_lists.h"
#include "settings/settings_text.h"

// Checks stay on in every build type.
#define FUZZ_CHECK(condition) do { if (!(condition)) abort(); } while (0)

namespace {

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at;
};

uint8_t NextByte(Input* input) { return input->at < input->size ? input->data[input->at++] : 0; }

// A NUL-terminated string of up to 63 bytes taken from the input.
void NextString(Input* input, char* out) {
  size_t length = NextByte(input) % 64;
  size_t i = 0;
  for (; i < length && input->at < input->size; i++) out[i] = static_cast<char>(input->data[input->at++]);
  out[i] = 0;
}

int IsPlainName(const char* name) {
  return name[0] && strspn(name, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") == strlen(name);
}

int IsPlainValue(const char* value) { return value[0] != ' ' && !strpbrk(value, "\r\n"); }

int CountAll(const char*, const char*, void* context) {
  ++*static_cast<int*>(context);
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, size, 0};
  size_t fileLength = NextByte(&input);
  fileLength |= static_cast<size_t>(NextByte(&input)) << 8;
  if (fileLength > size - input.at) fileLength = size - input.at;
  SettingsText text{};
  SettingsTextAssign(&text, reinterpret_cast<const char*>(data + input.at), fileLength);
  input.at += fileLength;

  char section[64], key[64], value[64], buffer[80];
  for (int step = 0; step < 64 && input.at < input.size; step++) {
    uint8_t opcode = NextByte(&input);
    NextString(&input, section);
    NextString(&input, key);
    const char* bytes = text.bytes ? text.bytes : "";
    switch (opcode % 9) {
      case 0: {
        int64_t header = SettingsFindSection(bytes, section);
        if (header >= 0) FUZZ_CHECK(SettingsSectionEnd(bytes, static_cast<uint64_t>(header)) <= text.length);
        break;
      }
      case 1: {
        uint64_t bufferSize = NextByte(&input) % sizeof buffer;
        char* exact = static_cast<char*>(malloc(bufferSize ? bufferSize : 1));
        SettingsTextRead(bytes, section, key, exact, bufferSize);
        if (bufferSize) FUZZ_CHECK(strlen(exact) < bufferSize);
        free(exact);
        break;
      }
      case 2: {
        NextString(&input, value);
        int result = SettingsTextWrite(&text, section, key, value);
        if (result != kTextFailed && IsPlainName(section) && IsPlainName(key) && IsPlainValue(value)) {
          FUZZ_CHECK(SettingsTextRead(text.bytes, section, key, buffer, sizeof buffer));
          FUZZ_CHECK(strcmp(buffer, value) == 0);
          FUZZ_CHECK(SettingsTextWrite(&text, section, key, value) == kTextUnchanged);
        }
        break;
      }
      case 3:
        SettingsTextDeleteKey(&text, section, key);
        break;
      case 4:
        SettingsTextDeleteSection(&text, section);
        break;
      case 5: {
        int calls = 0;
        SettingsTextEnum(bytes, section, CountAll, &calls);
        SettingsText copy{};
        if (SettingsTextCopySection(bytes, section, &copy)) {
          int copyCalls = 0;
          SettingsTextEnum(copy.bytes, section, CountAll, &copyCalls);
          // Names with line breaks or brackets make headers that span lines; only
          // plain names promise the same walk on the copy.
          if (IsPlainName(section)) FUZZ_CHECK(copyCalls == calls);
        }
        SettingsTextFree(&copy);
        break;
      }
      case 6: {
        uint32_t values[16];
        int count = NextByte(&input) % 17;
        int found = ReadList(key, values, count);
        FUZZ_CHECK(found >= 0 && found <= count);
        char formatted[kListTextBytes];
        uint64_t length = FormatList(formatted, NextByte(&input) % sizeof formatted, values, found, opcode & 16,
                                     opcode & 32);
        FUZZ_CHECK(length == 0 || strlen(formatted) == length);
        break;
      }
      case 7: {
        int32_t numbers[kFontNumbers];
        uint64_t face = SplitFontText(key, numbers);
        FUZZ_CHECK(face <= strlen(key));
        ParseUnsignedText(section, nullptr);
        break;
      }
      default:
        SettingsTextRead(bytes, section, key, nullptr, 0);
        break;
    }
    // Every edit keeps the length and the bytes in step.
    FUZZ_CHECK(text.bytes ? strlen(text.bytes) == text.length : text.length == 0);
  }
  SettingsTextFree(&text);
  return 0;
}
