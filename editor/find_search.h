// The search behind Find, Find Next and Replace, over plain text: the word
// separators, both directions without wrap-around, case through the user's
// locale, and Replace All as one pass. The dialogs and the edit control are
// find_replace's business.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The option bits, as the common dialog's FR_DOWN, FR_WHOLEWORD and FR_MATCHCASE.
constexpr uint32_t kFindDown = 1;
constexpr uint32_t kFindWholeWord = 2;
constexpr uint32_t kFindMatchCase = 4;
constexpr uint32_t kFindOptionBits = 7;

// Search and replacement texts: 255 characters and the terminator.
constexpr size_t kFindTextChars = 256;

// Apostrophe and underscore belong to words; digits and letters too, and
// every character the C library does not call a space or punctuation.
int IsWordSeparator(wchar_t c);

// The first line of the selection, at most 255 characters, into findWhat
// (kFindTextChars). An empty selection leaves findWhat as it is and returns 0.
int SeedFindText(const wchar_t* selection, size_t length, wchar_t* findWhat);

// Equal under the user's locale, ignoring case (and kana type).
int SameTextIgnoringCase(const wchar_t* a, const wchar_t* b);

// Where what occurs next in text, seen from the selection [selStart, selEnd):
// downwards from selStart or selEnd, upwards from selStart or the position
// before it (fromSelectionStart chooses). No wrap-around. Returns 1 and the
// match's start in *at, or 0.
int FindInText(const wchar_t* text, size_t length, size_t selStart, size_t selEnd, const wchar_t* what,
               uint32_t flags, int fromSelectionStart, size_t* at);

// Replace All from the top: every match, searched downwards, each search
// going on after the previous replacement (whole words judged by the text as
// it then stands). The result is in *out (malloc'd, terminated); *count is the
// number of replacements and *caret the end of the last one in the result.
// Returns 0 only when memory runs out.
struct ReplaceAllResult {
  wchar_t* text;
  size_t length;
  size_t count;
  size_t caret;
};
int ReplaceAllInText(const wchar_t* text, size_t length, const wchar_t* what, const wchar_t* with, uint32_t flags,
                     ReplaceAllResult* out);
