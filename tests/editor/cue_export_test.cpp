// The transcript as captions: the spans between cue marks, the marks that are
// not caption text, the three formats byte for byte, the offset, and files
// that ffmpeg reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/cue_export.h"

namespace {

// Text before the first cue, marks that are not captions, a span without
// text, a cue that runs backwards, text on a cue's line, non-ASCII text.
const wchar_t kTranscript[] =
    L"Interviewer: Good morning.\r\n"
    L"<Sound File: \"D:\\Hearing\\day one.mp3\" 1234 06.12.2026 09:00:00 Sound Cue: 00:03>\r\n"
    L"Witness: I was at home.\r\n"
    L"\r\n"
    L"   And then I slept.  \r\n"
    L"<06.12.2026 10:15:00>\r\n"
    L"<Sound Cue: 00:09>\r\n"
    L"<Tapewright Version 26.10>\n"
    L"<Sound Cue: 01:05> Gr\u00FC\u00DFe & <laughs> \u201Cyes\u201D \U0001F600\r\n"
    L"<Sound Cue: 00:50>\r\n"
    L"last words\tand a tab";

std::string Export(CueExportFormat format, uint64_t recordingMs, int32_t offset, const wchar_t* text = kTranscript) {
  CueExportOptions options{format, recordingMs, offset};
  size_t size = 0;
  uint8_t* bytes = ExportCues(text, wcslen(text), &options, &size);
  EXPECT_NE(bytes, nullptr);
  std::string result(reinterpret_cast<char*>(bytes), size);
  free(bytes);
  return result;
}

TEST(CueExport, SubRipSpansRunFromCueToCue) {
  EXPECT_EQ(Export(kCueSubRip, 0, 0),
            "1\r\n00:00:00,000 --> 00:00:03,000\r\nInterviewer: Good morning.\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:09,000\r\nWitness: I was at home.\r\nAnd then I slept.\r\n\r\n"
            "3\r\n00:01:05,000 --> 00:01:10,000\r\nGr\xC3\xBC\xC3\x9F" "e & <laughs> \xE2\x80\x9Cyes\xE2\x80\x9D "
            "\xF0\x9F\x98\x80\r\n\r\n"
            "4\r\n00:00:50,000 --> 00:00:55,000\r\nlast words\tand a tab\r\n\r\n");
  // With the length known the last span ends there; an offset moves every time.
  std::string shifted = Export(kCueSubRip, 3723456, 3600);
  EXPECT_NE(shifted.find("1\r\n01:00:00,000 --> 01:00:03,000\r\n"), std::string::npos);
  EXPECT_NE(shifted.find("4\r\n01:00:50,000 --> 02:02:03,456\r\n"), std::string::npos);
  // A negative offset never goes below zero.
  EXPECT_NE(Export(kCueSubRip, 0, -5).find("2\r\n00:00:00,000 --> 00:00:04,000\r\n"), std::string::npos);
}

TEST(CueExport, WebVttAndTable) {
  EXPECT_EQ(Export(kCueWebVtt, 0, 0),
            "WEBVTT\r\n\r\n"
            "00:00:00.000 --> 00:00:03.000\r\nInterviewer: Good morning.\r\n\r\n"
            "00:00:03.000 --> 00:00:09.000\r\nWitness: I was at home.\r\nAnd then I slept.\r\n\r\n"
            "00:01:05.000 --> 00:01:10.000\r\nGr\xC3\xBC\xC3\x9F" "e &amp; &lt;laughs&gt; \xE2\x80\x9Cyes\xE2\x80\x9D "
            "\xF0\x9F\x98\x80\r\n\r\n"
            "00:00:50.000 --> 00:00:55.000\r\nlast words\tand a tab\r\n\r\n");
  EXPECT_EQ(Export(kCueTable, 0, 0),
            "\xEF\xBB\xBFStart\tEnd\tText\r\n"
            "00:00:00.000\t00:00:03.000\tInterviewer: Good morning.\r\n"
            "00:00:03.000\t00:00:09.000\tWitness: I was at home. And then I slept.\r\n"
            "00:01:05.000\t00:01:10.000\tGr\xC3\xBC\xC3\x9F" "e & <laughs> \xE2\x80\x9Cyes\xE2\x80\x9D \xF0\x9F\x98\x80\r\n"
            "00:00:50.000\t00:00:55.000\tlast words and a tab\r\n");
}

TEST(CueExport, EdgesOfTheText) {
  EXPECT_EQ(Export(kCueSubRip, 0, 0, L""), "");
  EXPECT_EQ(Export(kCueWebVtt, 0, 0, L"<Sound Cue: 00:01>"), "WEBVTT\r\n\r\n");
  EXPECT_EQ(Export(kCueSubRip, 0, 0, L"no cue at all"), "1\r\n00:00:00,000 --> 00:00:05,000\r\nno cue at all\r\n\r\n");
  // An unpaired surrogate, an unclosed bracket, two cues on one line.
  EXPECT_EQ(Export(kCueTable, 0, 0, L"a\xD800 <b\r<Sound Cue: 00:02> x <Sound Cue: 00:04> y"),
            "\xEF\xBB\xBFStart\tEnd\tText\r\n"
            "00:00:00.000\t00:00:02.000\ta\xEF\xBF\xBD <b\r\n"
            "00:00:02.000\t00:00:04.000\tx\r\n"
            "00:00:04.000\t00:00:09.000\ty\r\n");
  EXPECT_EQ(CueFormatOfName(L"C:\\a.b\\talk.VTT"), kCueWebVtt);
  EXPECT_EQ(CueFormatOfName(L"talk.tsv"), kCueTable);
  EXPECT_EQ(CueFormatOfName(L"talk.srt"), kCueSubRip);
  EXPECT_EQ(CueFormatOfName(L"talk"), kCueSubRip);
}

#ifndef _WIN32
// ffmpeg reads both subtitle files and finds every caption.
TEST(CueExport, FfmpegReadsTheFiles) {
  if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
  for (CueExportFormat format : {kCueSubRip, kCueWebVtt}) {
    std::string path = testing::TempDir() + (format == kCueSubRip ? "cues.srt" : "cues.vtt");
    std::string bytes = Export(format, 0, 0);
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::string command = "ffmpeg -v error -nostdin -i '" + path + "' -f srt - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    EXPECT_EQ(pclose(pipe), 0) << output;
    EXPECT_NE(output.find("00:00:50,000 --> 00:00:55,000"), std::string::npos) << output;
    EXPECT_NE(output.find("Witness: I was at home."), std::string::npos) << output;
  }
}
#endif

}  // namespace
