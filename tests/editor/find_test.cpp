// The search over plain text (whole words, both directions, case through
// the locale) and Replace and Replace All on a real edit control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "editor/find_replace.h"

namespace {

constexpr uint32_t kDown = kFindDown, kWord = kFindWholeWord, kCase = kFindMatchCase;

TEST(FindInText, DirectionsWordsAndCase) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  struct {
    const wchar_t* text;
    size_t selStart, selEnd;
    const wchar_t* what;
    uint32_t flags;
    int fromSelectionStart;
    size_t expected;
  } cases[] = {
      {L"one two one", 0, 0, L"one", kDown, 0, 0},
      {L"one two one", 0, 3, L"one", kDown, 0, 8},       // past the selected match
      {L"one two one", 8, 11, L"one", kDown, 1, 8},      // from the selection's start
      {L"one two one", 8, 11, L"one", 0, 0, 0},          // upwards, not the selected one again
      {L"one two one", 0, 3, L"one", 0, 0, kNone},
      {L"one two one", 8, 11, L"one", 0, 1, 8},
      {L"one two one", 11, 11, L"one", 0, 0, 8},         // upwards from the very end
      {L"Hello HELLO hello", 0, 0, L"hello", kDown | kCase, 0, 12},
      {L"Hello HELLO hello", 17, 17, L"HELLO", kCase, 0, 6},
      {L"\u00c4RGER \u00e4rger", 0, 0, L"\u00e4rger", kDown, 0, 0},  // the locale's case
      {L"\u00c4RGER \u00e4rger", 0, 0, L"\u00e4rger", kDown | kCase, 0, 6},
      {L"concat cats cat.", 0, 0, L"cat", kDown | kWord, 0, 12},  // before a full stop
      {L"cat and dog", 4, 4, L"cat", kWord, 0, 0},              // at the very start
      {L"the cat", 0, 0, L"cat", kDown | kWord, 0, 4},          // at the very end
      {L"the cats", 0, 0, L"cat", kDown | kWord, 0, kNone},
      {L"don't don", 0, 0, L"don", kDown | kWord, 0, 6},        // the apostrophe joins
      {L"my_var var", 0, 0, L"var", kDown | kWord, 0, 7},       // so does the underscore
      {L"5\u20acfee", 0, 0, L"fee", kDown | kWord, 0, 2},
      {L"one", 0, 0, L"", kDown, 0, kNone},                     // nothing to look for
      {L"on", 0, 0, L"one", kDown, 0, kNone},
  };
  for (const auto& c : cases) {
    std::wstring text = c.text;
    size_t at = kNone;
    int found = FindInText(text.c_str(), text.size(), c.selStart, c.selEnd, c.what, c.flags, c.fromSelectionStart, &at);
    EXPECT_EQ(found ? at : kNone, c.expected) << "'" << text.size() << "' " << c.selStart << "-" << c.selEnd
                                               << " flags " << c.flags << " from start " << c.fromSelectionStart;
  }
}

TEST(ReplaceAllInText, EveryMatchDownwardsAsTheTextThenStands) {
  struct {
    const wchar_t* text;
    const wchar_t* what;
    const wchar_t* with;
    uint32_t flags;
    const wchar_t* expected;
    size_t count, caret;
  } cases[] = {
      // Whole words and any case are also the GUI Replace All case's.
      {L"aa", L"a", L"aa", 0, L"aaaa", 2, 4},         // the replacement is not searched again
      // The second ".a." follows the replacement "x", no longer a separator.
      {L".a..a.", L".a.", L"x", kWord, L"x.a.", 1, 1},
      {L"cat", L"", L"dog", 0, L"cat", 0, 0},
  };
  for (const auto& c : cases) {
    std::wstring text = c.text;
    ReplaceAllResult result;
    ASSERT_EQ(ReplaceAllInText(text.c_str(), text.size(), c.what, c.with, c.flags, &result), 1);
    EXPECT_EQ(std::wstring(result.text, result.length), c.expected);
    EXPECT_EQ(result.count, c.count);
    EXPECT_EQ(result.caret, c.caret);
    free(result.text);
  }
}

// Replace and Replace All on an edit control like the editor's.
class EditorReplaceTest : public testing::Test {
 protected:
  void SetUp() override {
    editor = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_NOHIDESEL, 0, 0, 400, 200, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(editor, nullptr);
  }
  void TearDown() override { DestroyWindow(editor); }
  void Start(const wchar_t* text, DWORD start, DWORD end) {
    SetWindowTextW(editor, text);
    SendMessageW(editor, EM_SETSEL, start, end);
  }
  std::wstring Text() {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(editor)), L'\0');
    GetWindowTextW(editor, text.data(), static_cast<int>(text.size() + 1));
    return text;
  }
  std::pair<DWORD, DWORD> Selection() {
    DWORD start = 0, end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  HWND editor = nullptr;
};

TEST_F(EditorReplaceTest, ReplacesOnlyASelectionThatIsTheSearchText) {
  struct {
    DWORD selStart, selEnd;
    uint32_t flags;
    const wchar_t* expected;
    DWORD nextStart;
  } cases[] = {
      {0, 3, kDown, L"dog cat CAT", 4},           // the search text in another case
      {8, 11, kDown, L"CAT cat dog", 11},         // the last one: replaced, nothing further
      {3, 4, kDown, L"CAT cat CAT", 4},           // another selection: only on to the next
      {0, 0, kDown, L"CAT cat CAT", 0},           // no selection: the match is shown first
      {0, 3, kDown | kCase, L"CAT cat CAT", 4},   // other case under Match case: shown, kept
      {4, 7, kDown | kCase, L"CAT dog CAT", 7},
  };
  for (const auto& c : cases) {
    Start(L"CAT cat CAT", c.selStart, c.selEnd);
    EXPECT_EQ(EditorReplace(editor, L"cat", L"dog", c.flags), 1);
    EXPECT_EQ(Text(), c.expected) << c.selStart << "-" << c.selEnd << " flags " << c.flags;
    EXPECT_EQ(Selection().first, c.nextStart) << c.selStart << "-" << c.selEnd << " flags " << c.flags;
  }
  Start(L"CAT cat CAT", 11, 11);
  EXPECT_EQ(EditorReplace(editor, L"cat", L"dog", kDown), 0) << "nothing at or after the caret";
}

TEST_F(EditorReplaceTest, ReplaceAllStartsAtTheTopAndCannotBeUndone) {
  Start(L"cat one cat two cat", 19, 19);  // caret at the end
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  EXPECT_EQ(EditorReplaceAll(editor, L"cat", L"horse", 0), 3u) << "upwards as asked, yet from the top";
  EXPECT_EQ(Text(), L"horse one horse two horse");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{25}, DWORD{25}));
  EXPECT_NE(SendMessageW(editor, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(editor, EM_CANUNDO, 0, 0), 0);
}

}  // namespace
