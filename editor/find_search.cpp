// Searching the transcript: candidates by the first character's two cases,
// confirmed by the locale's comparison, so that "Strasse" and accented
// capitals behave as the user's Windows compares them.
#include "editor/find_search.h"

#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace {

wchar_t CaseForm(wchar_t c, int upper) {
  auto packed = reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c));
  return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(upper ? CharUpperW(packed) : CharLowerW(packed)) & 0xFFFF);
}

// What a match needs besides its own characters.
struct Pattern {
  const wchar_t* what;
  size_t length;
  wchar_t upper, lower;  // the first character's two forms
  DWORD compareFlags;
  int wholeWord;
};

Pattern MakePattern(const wchar_t* what, uint32_t flags) {
  Pattern pattern{};
  pattern.what = what;
  pattern.length = what ? wcslen(what) : 0;
  if (pattern.length) {
    pattern.upper = CaseForm(what[0], 1);
    pattern.lower = CaseForm(what[0], 0);
  }
  pattern.compareFlags = (flags & kFindMatchCase) ? NORM_IGNOREKANATYPE : NORM_IGNORECASE | NORM_IGNOREKANATYPE;
  pattern.wholeWord = (flags & kFindWholeWord) != 0;
  return pattern;
}

// The characters at at are the pattern's; before is the character in front
// of them (0 at the start of the text).
int MatchesAt(const Pattern& pattern, const wchar_t* text, size_t length, size_t at, wchar_t before, int atStart) {
  wchar_t first = text[at];
  if (first != pattern.upper && first != pattern.lower) return 0;
  if (pattern.wholeWord) {
    if (!atStart && !IsWordSeparator(before)) return 0;
    size_t end = at + pattern.length;
    if (end < length && !IsWordSeparator(text[end])) return 0;
  }
  return CompareStringW(LOCALE_USER_DEFAULT, pattern.compareFlags, text + at, static_cast<int>(pattern.length),
                        pattern.what, static_cast<int>(pattern.length)) == CSTR_EQUAL;
}

int MatchesInPlace(const Pattern& pattern, const wchar_t* text, size_t length, size_t at) {
  return MatchesAt(pattern, text, length, at, at ? text[at - 1] : 0, at == 0);
}

// A growing text for Replace All, whose result may outgrow the original.
struct Output {
  wchar_t* text;
  size_t used, capacity;
};

int Reserve(Output* output, size_t needed) {
  if (needed <= output->capacity) return 1;
  size_t capacity = output->capacity ? output->capacity : 256;
  while (capacity < needed) {
    if (capacity > SIZE_MAX / 2 / sizeof(wchar_t)) return 0;
    capacity *= 2;
  }
  auto* grown = static_cast<wchar_t*>(realloc(output->text, capacity * sizeof(wchar_t)));
  if (!grown) return 0;
  output->text = grown;
  output->capacity = capacity;
  return 1;
}

int Append(Output* output, const wchar_t* text, size_t count) {
  if (count > SIZE_MAX - output->used || !Reserve(output, output->used + count)) return 0;
  wmemcpy(output->text + output->used, text, count);
  output->used += count;
  return 1;
}

}  // namespace

int IsWordSeparator(wchar_t c) {
  if (c == 0x27 || c == 0x5F) return 0;
  if (c <= 0xFF) return c < 0x30 || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0xBF);
  if (c == 0x20AC) return 1;
  return iswspace(c) || iswpunct(c);
}

int SeedFindText(const wchar_t* selection, size_t length, wchar_t* findWhat) {
  if (!length) return 0;
  size_t used = 0;
  while (used < length && used < kFindTextChars - 1 && selection[used] >= 0x20) {
    findWhat[used] = selection[used];
    ++used;
  }
  findWhat[used] = 0;
  return 1;
}

int SameTextIgnoringCase(const wchar_t* a, const wchar_t* b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE, a, -1, b, -1) == CSTR_EQUAL;
}

int FindInText(const wchar_t* text, size_t length, size_t selStart, size_t selEnd, const wchar_t* what,
               uint32_t flags, int fromSelectionStart, size_t* at) {
  Pattern pattern = MakePattern(what, flags);
  // CompareStringW counts in int; no transcript comes near that.
  if (!pattern.length || pattern.length > length || pattern.length > 0x7FFFFFFF) return 0;
  size_t lastStart = length - pattern.length;
  if (flags & kFindDown) {
    for (size_t p = fromSelectionStart ? selStart : selEnd; p <= lastStart; ++p)
      if (MatchesInPlace(pattern, text, length, p)) return *at = p, 1;
    return 0;
  }
  // Not from the selection's start: only what begins before it, so the
  // selected match is not found again, not even at the very top.
  size_t from = selStart;
  if (!fromSelectionStart) {
    if (from == 0) return 0;
    --from;
  }
  if (from > lastStart) from = lastStart;
  for (size_t p = from + 1; p-- > 0;)
    if (MatchesInPlace(pattern, text, length, p)) return *at = p, 1;
  return 0;
}

int ReplaceAllInText(const wchar_t* text, size_t length, const wchar_t* what, const wchar_t* with, uint32_t flags,
                     ReplaceAllResult* out) {
  *out = ReplaceAllResult{};
  Pattern pattern = MakePattern(what, flags);
  size_t withLength = with ? wcslen(with) : 0;
  Output result{};
  size_t p = 0;
  int ok = Reserve(&result, length + 1);
  while (ok && pattern.length && pattern.length <= length && p <= length - pattern.length) {
    // In front of a match lies what the earlier replacements made of the text.
    wchar_t before = result.used ? result.text[result.used - 1] : 0;
    if (MatchesAt(pattern, text, length, p, before, result.used == 0)) {
      ok = Append(&result, with, withLength);
      p += pattern.length;
      out->count++;
      out->caret = result.used;
    } else {
      ok = Append(&result, text + p++, 1);
    }
  }
  if (ok) ok = Append(&result, text + p, length - p) && Append(&result, L"", 1);
  if (!ok) {
    free(result.text);
    *out = ReplaceAllResult{};
    return 0;
  }
  out->text = result.text;
  out->length = result.used - 1;
  return 1;
}
