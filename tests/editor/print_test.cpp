// The printout's layout with a memory device context standing in for the
// printer: lines wrapped by measured width without losing text, whole lines
// per page, copies collated or not, and a failing page ending the job.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/print_document.h"

namespace {

// What the stand-in printer was asked to do.
struct Recording {
  std::vector<std::vector<std::wstring>> pages;  // the lines drawn on each page
  std::vector<int> rows;                         // the y of every line drawn, in lines
  int lineHeight = 1;
  int startPageCalls = 0, endPageCalls = 0, endDocCalls = 0, abortDocCalls = 0;
  int failStartPage = 0, failEndPage = 0;  // the call (1-based) that fails; 0: none
  DWORD startDocError = 0;                 // non-zero: StartDoc fails with it
};
Recording gRecording;

int WINAPI RecordStartDoc(HDC, const DOCINFOW*) {
  if (!gRecording.startDocError) return 1;
  SetLastError(gRecording.startDocError);
  return SP_ERROR;
}
int WINAPI RecordStartPage(HDC) {
  if (++gRecording.startPageCalls == gRecording.failStartPage) return SP_ERROR;
  gRecording.pages.emplace_back();
  return 1;
}
int WINAPI RecordEndPage(HDC) { return ++gRecording.endPageCalls == gRecording.failEndPage ? SP_ERROR : 1; }
int WINAPI RecordEndDoc(HDC) { return ++gRecording.endDocCalls, 1; }
int WINAPI RecordAbortDoc(HDC) { return ++gRecording.abortDocCalls, 1; }
BOOL WINAPI RecordTextOut(HDC, int, int y, const wchar_t* text, int count) {
  gRecording.pages.back().emplace_back(text, static_cast<size_t>(count));
  gRecording.rows.push_back(y / gRecording.lineHeight);
  return TRUE;
}

class PrintTest : public testing::Test {
 protected:
  void SetUp() override {
    gRecording = Recording{};
    dc = CreateCompatibleDC(nullptr);
    font = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    gRecording.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    device = PrintDevice{dc, 2000, 3 * gRecording.lineHeight + gRecording.lineHeight / 2, RecordStartDoc,
                         RecordStartPage, RecordEndPage, RecordEndDoc, RecordAbortDoc, RecordTextOut};
  }
  void TearDown() override {
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
  }
  int Width(const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  // Prints lines (as the editor splits them) and returns the outcome.
  PrintOutcome Print(const std::vector<std::wstring>& lines, uint32_t copies = 1, int collate = 1) {
    text.clear();
    spans.clear();
    for (const auto& line : lines) {
      spans.push_back(PrintLine{text.size(), line.size()});
      text += line + L"\r\n";
    }
    PrintText printText{text.c_str(), spans.data(), static_cast<uint32_t>(spans.size())};
    return PrintPages(&device, font, &printText, copies, collate);
  }
  std::vector<std::wstring> AllLines() {
    std::vector<std::wstring> all;
    for (const auto& page : gRecording.pages) all.insert(all.end(), page.begin(), page.end());
    return all;
  }
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ old = nullptr;
  PrintDevice device{};
  std::wstring text;
  std::vector<PrintLine> spans;
};

// Every printed line fits the page, takes as many words as fit, and together
// they hold the whole line.
TEST_F(PrintTest, WideLinesWrapAtBlanksByMeasuredWidth) {
  const std::wstring line = L"Witness: I heard the iiiii door and then WWWWW footsteps on the stairs, slowly.";
  device.pageWidth = Width(L"Witness: I heard the iiiii door");
  device.pageHeight = 100 * gRecording.lineHeight;
  ASSERT_EQ(Print({line, L"next"}), kPrintDone);
  std::vector<std::wstring> printed = AllLines();
  ASSERT_GE(printed.size(), 4u);
  EXPECT_EQ(printed[0], L"Witness: I heard the iiiii door");
  EXPECT_EQ(printed.back(), L"next");
  std::wstring joined;
  for (size_t i = 0; i + 1 < printed.size(); ++i) {
    EXPECT_LE(Width(printed[i]), device.pageWidth) << printed[i];
    if (i + 2 < printed.size()) {
      std::wstring nextWord = printed[i + 1].substr(0, printed[i + 1].find(L' '));
      EXPECT_GT(Width(printed[i] + L" " + nextWord), device.pageWidth) << "broken too early: " << printed[i];
    }
    joined += (i ? L" " : L"") + printed[i];
  }
  EXPECT_EQ(joined, line);
}

TEST_F(PrintTest, AWordWiderThanThePageIsSplitWithoutLoss) {
  const std::wstring word = L"Donaudampfschifffahrtsgesellschaftskapit\u00e4nsm\u00fctze";
  device.pageWidth = Width(word) / 3;
  ASSERT_EQ(Print({word}), kPrintDone);
  std::wstring joined;
  for (const auto& piece : AllLines()) {
    EXPECT_LE(Width(piece), device.pageWidth) << piece;
    joined += piece;
  }
  EXPECT_EQ(joined, word);
  EXPECT_GE(AllLines().size(), 3u);
}

// Three lines fit a page; seven lines give pages of 3, 3 and 1, each from its top.
TEST_F(PrintTest, WholeLinesPerPage) {
  ASSERT_EQ(Print({L"1", L"2", L"", L"4", L"5", L"6", L"7"}), kPrintDone);
  ASSERT_EQ(gRecording.pages.size(), 3u);
  EXPECT_EQ(gRecording.pages[0], (std::vector<std::wstring>{L"1", L"2"})) << "the empty line keeps its place";
  EXPECT_EQ(gRecording.pages[1], (std::vector<std::wstring>{L"4", L"5", L"6"}));
  EXPECT_EQ(gRecording.pages[2], (std::vector<std::wstring>{L"7"}));
  EXPECT_EQ(gRecording.rows, (std::vector<int>{0, 1, 0, 1, 2, 0}));
  EXPECT_EQ(gRecording.endDocCalls, 1);
}

TEST_F(PrintTest, CopiesCollatedOrPageByPage) {
  struct { uint32_t copies; int collate; const wchar_t* order; } cases[] = {
      {3, 0, L"AAABBB"}, {3, 1, L"ABABAB"}, {1, 0, L"AB"}, {0, 1, L"AB"},
  };
  for (const auto& c : cases) {
    gRecording.pages.clear();
    ASSERT_EQ(Print({L"A", L"a", L"a", L"B"}, c.copies, c.collate), kPrintDone);
    std::wstring order;
    for (const auto& page : gRecording.pages) order += page.empty() ? L"?" : page[0];
    EXPECT_EQ(order, c.order) << c.copies << " copies, collate " << c.collate;
  }
}

TEST_F(PrintTest, AnEmptyDocumentPrintsOneBlankPage) {
  ASSERT_EQ(Print({L""}), kPrintDone);
  ASSERT_EQ(gRecording.pages.size(), 1u);
  EXPECT_TRUE(gRecording.pages[0].empty());
  EXPECT_EQ(gRecording.endPageCalls, 1);
}

// A failing page aborts the job instead of leaving it open; a cancelled start prints nothing.
TEST_F(PrintTest, FailuresEndTheJob) {
  struct { int failStartPage, failEndPage; DWORD startDocError; PrintOutcome outcome; int aborts, endDocs, pages; } cases[] = {
      {2, 0, 0, kPrintFailed, 1, 0, 1},
      {0, 1, 0, kPrintFailed, 1, 0, 1},
      {0, 0, ERROR_CANCELLED, kPrintCancelled, 0, 0, 0},
      {0, 0, ERROR_ACCESS_DENIED, kPrintFailed, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int lineHeight = gRecording.lineHeight;
    gRecording = Recording{};
    gRecording.lineHeight = lineHeight;
    gRecording.failStartPage = c.failStartPage;
    gRecording.failEndPage = c.failEndPage;
    gRecording.startDocError = c.startDocError;
    EXPECT_EQ(Print({L"1", L"2", L"3", L"4", L"5", L"6", L"7"}, 2, 1), c.outcome);
    EXPECT_EQ(gRecording.abortDocCalls, c.aborts);
    EXPECT_EQ(gRecording.endDocCalls, c.endDocs);
    EXPECT_EQ(static_cast<int>(gRecording.pages.size()), c.pages);
  }
}

}  // namespace
