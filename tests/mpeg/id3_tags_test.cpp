// ID3v2 and ID3v1 tags read into the file-information record: encodings,
// frame sizes of each version, number frames, genre references, the order in
// which the tags fill fields, and tags that claim more than the file holds.
#include <gtest/gtest.h>

#include <string>

#include "base/code_page.h"
#include "formats/mpeg/id3_tags.h"
#include "formats/mpeg/id3_text.h"
#include "mpeg_test_builders.h"

namespace {

FileInfo ReadTags(const Bytes& file) {
  MemoryFile memory(file);
  FileInfo info;
  FileInfoClear(&info);
  Id3v2ReadTag(&memory.source, &info);
  Id3v1ReadTag(&memory.source, &info);
  FileInfoTrimTexts(&info);
  return info;
}

Bytes Latin1Frame(const std::string& text) { return TextBody(0, Ascii(text)); }
const std::wstring kGruesse = L"Gr\u00FC\u00DFe";

TEST(Id3Text, MalformedAndBoundedTexts) {
  struct { const char* what; Bytes bytes; uint32_t encoding; std::wstring text; } cases[] = {
      {"cp1252 euro", {0x80, 'a', 0xFC}, kId3Latin1, L"\u20ACa\u00FC"},
      {"utf-16 odd byte count", Join(Utf16Le(u"AB"), Bytes{'C'}), kId3Utf16Bom, L"AB"},
      {"utf-16 lone high surrogate", Utf16Le(u"a\xD800"), kId3Utf16Bom, L"a\uFFFD"},
      {"utf-8 truncated sequence", {'a', 0xE2, 0x82}, kId3Utf8, L"a\uFFFD\uFFFD"},
      {"utf-8 overlong", {0xC0, 0xAF, 'b'}, kId3Utf8, L"\uFFFD\uFFFDb"},
      {"bounded by the output", Bytes(600, 'x'), kId3Utf8, std::wstring(7, L'x')},
  };
  for (const auto& c : cases) {
    wchar_t out[8];
    Id3DecodeText(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()), c.encoding, out, 8);
    EXPECT_EQ(std::wstring(out), c.text) << c.what;
  }
  // A surrogate pair that does not fit ends the text; nothing of the buffer is
  // left unwritten.
  wchar_t out[4] = {L'#', L'#', L'#', L'#'};
  Bytes pair = Utf16Le(u"ab\xD83C\xDFB5");
  Id3DecodeText(pair.data(), static_cast<uint32_t>(pair.size()), kId3Utf16Bom, out, 4);
  if (sizeof(wchar_t) == 2) {
    EXPECT_EQ(std::wstring(out, 4), std::wstring(L"ab\0\0", 4));
  }
}

// ID3v1 text is in the system's ANSI code page (the test runs under a
// Western and, as test_mpeg_reader_cp1251, under a Cyrillic one).
TEST(Id3v1, TextsInTheSystemCodePage) {
  FileInfo info = ReadTags(Id3v1("\xC0\xE1\xE2 \x80", "", "", "", "", -1, 0));
  uint32_t codePage = SystemAnsiCodePage();
  if (codePage == 1251)
    EXPECT_EQ(std::wstring(info.title), L"\u0410\u0431\u0432 \u0402");
  else if (codePage == 1252)
    EXPECT_EQ(std::wstring(info.title), L"\u00C0\u00E1\u00E2 \u20AC");
  else
    GTEST_SKIP() << "code page " << codePage;
}

TEST(Id3v2, TitleInEveryEncodingVersionAndFrameLayout) {
  Bytes ansi = Latin1Frame("Gr\xFC\xDF" "e");
  struct { const char* what; int major; TagFrame frame; } cases[] = {
      {"2.3 ansi", 3, {"TIT2", ansi}},
      {"2.3 utf-16 with bom", 3, {"TIT2", TextBody(1, Utf16Le(u"Gr\u00FC\u00DFe"))}},
      {"2.3 utf-16 big-endian bom", 3, {"TIT2", TextBody(1, Utf16Be(u"Gr\u00FC\u00DFe"))}},
      {"2.3 utf-16 without bom", 3, {"TIT2", TextBody(1, Utf16Le(u"Gr\u00FC\u00DFe", false))}},
      {"2.4 utf-16be", 4, {"TIT2", TextBody(2, Utf16Be(u"Gr\u00FC\u00DFe", false))}},
      {"2.4 utf-8", 4, {"TIT2", TextBody(3, {'G', 'r', 0xC3, 0xBC, 0xC3, 0x9F, 'e'})}},
      {"2.2 three-letter id", 2, {"TT2", ansi}},
      {"2.4 data length indicator", 4, {"TIT2", Join(Bytes{0, 0, 0, 7}, ansi), 0x01}},
      {"2.3 group byte", 3, {"TIT2", Join(Bytes{7}, ansi), 0x20}},
  };
  for (const auto& c : cases) EXPECT_EQ(std::wstring(ReadTags(Id3v2(c.major, {c.frame})).title), kGruesse) << c.what;
}

TEST(Id3v2, UnsynchronisedCompressedAndEncryptedFrames) {
  Bytes body = {0, 'a', 0xFF, 0x00, 'b'};
  EXPECT_STREQ(ReadTags(Id3v2(4, {{"TIT2", body, 0x02}})).title, L"a\u00FFb");
  TagOptions whole;
  whole.flags = 0x80;
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"TIT2", body}}, whole)).title, L"a\u00FFb");
  for (int major : {3, 4}) {
    uint8_t packed = major == 3 ? 0x80 : 0x08;
    FileInfo info = ReadTags(Id3v2(major, {{"TIT2", Latin1Frame("packed"), packed}, {"TIT2", Latin1Frame("plain")}}));
    EXPECT_STREQ(info.title, L"plain") << major;
  }
}

TEST(Id3v2, V22FramesFillEveryField) {
  Bytes comment = Join(Bytes{0, 'e', 'n', 'g'}, Ascii(std::string("short\0The comment", 17)));
  FileInfo info = ReadTags(Id3v2(2, {{"TT2", Latin1Frame("Title")}, {"TP1", Latin1Frame("Artist")},
                                     {"TAL", Latin1Frame("Album")}, {"TYE", Latin1Frame("1999")},
                                     {"TRK", Latin1Frame("3/12")}, {"TCO", Latin1Frame("(8)")},
                                     {"TBP", Latin1Frame("120")}, {"COM", comment}}));
  EXPECT_STREQ(info.title, L"Title");
  EXPECT_STREQ(info.artist, L"Artist");
  EXPECT_STREQ(info.album, L"Album");
  EXPECT_EQ(info.year, 1999);
  EXPECT_EQ(info.track, 3);
  EXPECT_EQ(info.trackTotal, 12);
  EXPECT_STREQ(info.genre, L"Jazz");
  EXPECT_EQ(info.beatsPerMinute, 120);
  EXPECT_STREQ(info.comment, L"The comment");
}

TEST(Id3v2, CommentSkipsLanguageAndDescription) {
  Bytes wide = Join(Join(Bytes{1, 'e', 'n', 'g'}, Join(Utf16Le(u"desc"), Bytes{0, 0})), Utf16Le(u"Wide text"));
  Bytes noDescription = Join(Bytes{3, 'e', 'n', 'g', 0}, Ascii("utf-8 \xC3\xA4"));
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"COMM", wide}})).comment, L"Wide text");
  EXPECT_STREQ(ReadTags(Id3v2(4, {{"COMM", noDescription}})).comment, L"utf-8 \u00E4");
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"COMM", Ascii(std::string("\0engno end", 10))}})).comment, L"");
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"COMM", {0, 'e'}}})).comment, L"");
}

TEST(Id3v2, NumberFrames) {
  struct { TagFrame frame; uint16_t year, track, total, beats; } cases[] = {
      {{"TRCK", Latin1Frame("07/15")}, 0, 7, 15, 0},   {{"TORY", Latin1Frame("1975")}, 1975, 0, 0, 0},
      {{"TDRC", TextBody(3, Ascii("2004-05-01"))}, 2004, 0, 0, 0},
      {{"TBPM", Latin1Frame("99999999")}, 0, 0, 0, 0xFFFF},
  };
  for (const auto& c : cases) {
    FileInfo info = ReadTags(Id3v2(3, {c.frame}));
    EXPECT_EQ(info.year, c.year) << c.frame.id;
    EXPECT_EQ(info.track, c.track) << c.frame.id;
    EXPECT_EQ(info.trackTotal, c.total) << c.frame.id;
    EXPECT_EQ(info.beatsPerMinute, c.beats) << c.frame.id;
  }
}

TEST(Id3v2, FirstTextFrameWinsALaterNumberFrameOverwritesAndSubtitleStandsIn) {
  FileInfo info = ReadTags(Id3v2(3, {{"TPE1", Latin1Frame("First")}, {"TPE4", Latin1Frame("Second")},
                                     {"TYER", Latin1Frame("1990")}, {"TORY", Latin1Frame("1980")},
                                     {"TIT3", Latin1Frame("Sub")}}));
  EXPECT_STREQ(info.artist, L"First");
  EXPECT_EQ(info.year, 1980);
  EXPECT_STREQ(info.title, L"Sub");
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"TIT3", Latin1Frame("Sub")}, {"TIT2", Latin1Frame("Main")}})).title, L"Main");
}

TEST(Id3v2, GenreReferences) {
  struct { const char* text; const wchar_t* genre; } cases[] = {
      {"(17)Rock", L"Rock"},  {"(17)", L"Rock"},     {"255", L""},          {"17", L"Rock"},
      {"(148)", L""},         {"(80)", L"Folk"},     {"147", L"Synthpop"},  {"(4)Eurodisco", L"Eurodisco"},
      {"(017)", L"(017)"},    {"(RX)", L"(RX)"},     {"()", L"()"},         {"12a", L"12a"},
      {"(999999999999)", L"(999999999999)"},
  };
  for (const auto& c : cases) EXPECT_STREQ(ReadTags(Id3v2(3, {{"TCON", Latin1Frame(c.text)}})).genre, c.genre) << c.text;
}

TEST(Id3v2, TextsAreBoundedToTheirFields) {
  FileInfo info = ReadTags(Id3v2(3, {{"TIT2", Latin1Frame(std::string(2000, 'x'))},
                                     {"TCON", Latin1Frame(std::string(100, 'g'))},
                                     {"TALB", TextBody(1, Utf16Le(std::u16string(600, u'w')))}}));
  EXPECT_EQ(std::wstring(info.title), std::wstring(kTagTextChars - 1, L'x'));
  EXPECT_EQ(std::wstring(info.genre), std::wstring(kGenreChars - 1, L'g'));
  EXPECT_EQ(std::wstring(info.album), std::wstring(kTagTextChars - 1, L'w'));
}

TEST(Id3v2, SizesExtendedHeadersAndPadding) {
  // A 200-byte frame: its 7-bit size differs from its plain one, which some writers use.
  std::vector<TagFrame> frames = {{"TXXX", Bytes(200, 'z')}, {"TIT2", Latin1Frame("After")}};
  TagOptions plain;
  plain.plainSizes = true;
  TagOptions v3;
  v3.flags = 0x40;
  v3.extendedHeader = {0, 0, 0, 6, 0, 0, 0, 0, 0, 0};
  TagOptions v4;
  v4.flags = 0x40;
  v4.extendedHeader = {0, 0, 0, 6, 1, 0};
  TagOptions padded;
  padded.padding = 4000;
  EXPECT_STREQ(ReadTags(Id3v2(4, frames)).title, L"After");
  EXPECT_STREQ(ReadTags(Id3v2(4, frames, plain)).title, L"After");
  EXPECT_STREQ(ReadTags(Id3v2(3, {{"TIT2", Latin1Frame("Ext3")}}, v3)).title, L"Ext3");
  EXPECT_STREQ(ReadTags(Id3v2(4, {{"TIT2", Latin1Frame("Ext4")}}, v4)).title, L"Ext4");
  Bytes behindPadding = Join(Id3v2(3, {}, padded), Id3v2(3, {{"TALB", Latin1Frame("Not in the tag")}}));
  EXPECT_STREQ(ReadTags(behindPadding).album, L"");
}

TEST(Id3v2, RefusedVersionsAndTagsLargerThanTheFile) {
  Bytes v25 = Id3v2(3, {{"TIT2", Latin1Frame("x")}});
  v25[3] = 5;
  Bytes v231 = Id3v2(3, {{"TIT2", Latin1Frame("x")}});
  v231[4] = 1;
  Bytes v22Compressed = Id3v2(2, {{"TT2", Latin1Frame("x")}});
  v22Compressed[5] = 0x40;
  for (const Bytes& tag : {v25, v231, v22Compressed, Ascii("ID3"), Bytes{}}) EXPECT_STREQ(ReadTags(tag).title, L"");
  TagOptions huge;
  huge.sizeOverride = 0x0FFFFFFF;
  Bytes tag = Id3v2(3, {{"TIT2", Latin1Frame("Kept")}, {"TALB", Latin1Frame("Cut short")}}, huge);
  tag.resize(tag.size() - 6);
  FileInfo info = ReadTags(tag);
  EXPECT_STREQ(info.title, L"Kept");
  EXPECT_STREQ(info.album, L"Cut");
  Bytes liar = Id3v2(3, {{"TIT2", Latin1Frame("Short")}});
  liar[10 + 7] = 0xFF;  // the frame claims more than the tag holds
  EXPECT_STREQ(ReadTags(liar).title, L"Short");
}

TEST(Id3v1, FieldsTrackAndGenre) {
  FileInfo info = ReadTags(Join(Bytes(500, 0x55), Id3v1("  Title  ", "Artist", "Album", "2001", "Comment", 9, 17)));
  EXPECT_STREQ(info.title, L"Title");
  EXPECT_STREQ(info.artist, L"Artist");
  EXPECT_STREQ(info.album, L"Album");
  EXPECT_EQ(info.year, 2001);
  EXPECT_STREQ(info.comment, L"Comment");
  EXPECT_EQ(info.track, 9);
  EXPECT_STREQ(info.genre, L"Rock");
  // Without the zero at 125 the comment runs over 30 bytes and there is no track.
  FileInfo plain = ReadTags(Id3v1("T", "", "", "1850", std::string(30, 'c'), -1, 255));
  EXPECT_EQ(std::wstring(plain.comment), std::wstring(30, L'c'));
  EXPECT_EQ(plain.track, 0);
  EXPECT_EQ(plain.year, 0);
  EXPECT_STREQ(plain.genre, L"");
  EXPECT_STREQ(ReadTags(Ascii("TAG")).title, L"") << "shorter than a tag";
}

TEST(Id3v1, Id3v2WinsAndEmptyV1FieldsClearNothing) {
  Bytes v2 = Id3v2(3, {{"TIT2", Latin1Frame("V2 title")}, {"TYER", Latin1Frame("1995")},
                       {"TRCK", Latin1Frame("4/9")}, {"TCON", Latin1Frame("(17)")}});
  FileInfo info = ReadTags(Join(Join(v2, Bytes(300, 0)), Id3v1("V1 title", "V1 artist", "", "", "", 2, 0)));
  EXPECT_STREQ(info.title, L"V2 title");
  EXPECT_STREQ(info.artist, L"V1 artist");
  EXPECT_EQ(info.year, 1995) << "an empty ID3v1 year does not clear the ID3v2 one";
  EXPECT_EQ(info.track, 4);
  EXPECT_STREQ(info.genre, L"Rock");
}

}  // namespace
