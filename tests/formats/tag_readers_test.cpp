// The file information of Ogg Vorbis, FLAC and WMA files made by the
// encoders (tests/formats/make-tag-fixtures.sh): tags in every form, read by
// the page walker, the FLAC metadata reader, the ASF header walker and the
// MP4 box walker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/flac/flac_metadata.h"
#include "formats/mp4/mp4_info.h"
#include "formats/ogg/ogg_file_info.h"
#include "formats/wma/asf_header.h"
#include "test_support.h"

namespace {

enum Reader { kOgg, kFlac, kAsf, kMp4 };

struct TagCase {
  const char* file;
  Reader reader;
  uint64_t cutAt;  // read only this many bytes; 0 = the whole file
  int readable;
  const wchar_t* codec;
  const wchar_t* title;
  const wchar_t* artist;
  const wchar_t* album;
  const wchar_t* comment;
  const wchar_t* genre;
  uint16_t track, trackTotal, year, channels;
  uint32_t rate, length;
  int32_t bitRate;  // -1: not compared
};

// Ogg skips the ARTIST whose value is not UTF-8; FLAC keeps it, as read.
const TagCase kCases[] = {
    {"tags.ogg", kOgg, 0, 1, L"Ogg Vorbis", L"Lower Title", L"Band", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, 96},
    {"id3-tags.ogg", kOgg, 0, 1, L"Ogg Vorbis", L"Lower Title", L"Band", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, 96},
    // Each stream of a chained file writes what it has over the one before.
    {"chained.ogg", kOgg, 0, 1, L"Ogg Vorbis", L"Second", L"Band", L"Disc", L"hello", L"Speech", 3, 12, 0, 1, 22050, 1, 30},
    {"notvorbis.ogg", kOgg, 0, 0, L"", L"", L"", L"", L"", L"", 0, 0, 0, 0, 0, 0, 0},
    {"tags.flac", kFlac, 0, 1, L"FLAC", L"Lower Title", L"Bad\xFFFD\xFFFD", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, -1},
    {"id3-tags.flac", kFlac, 0, 1, L"FLAC", L"Lower Title", L"Bad\xFFFD\xFFFD", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, -1},
    // Metadata cut short inside the comments: nothing is shown.
    {"tags.flac", kFlac, 120, 0, L"", L"", L"", L"", L"", L"", 0, 0, 0, 0, 0, 0, 0},
    {"tags.wma", kAsf, 0, 1, L"WMA", L"Spoken Title", L"Speaker", L"Hearing", L"Notes", L"Speech", 1, 0, 2005, 2, 44100, 2, 64},
    {"track-text.wma", kAsf, 0, 1, L"WMA", L"", L"", L"", L"", L"", 7, 9, 0, 2, 44100, 2, 64},
    // "\xA9ART" wins over "aART" whichever comes first; the 64-bit "mdat" is
    // stepped over to the "moov" behind it; ALAC has no average rate of its
    // own, so its rate comes from the media data over the duration (not from
    // "moov", the last box); ffmpeg's MP4 entry states two channels for any stream.
    {"tags.m4a", kMp4, 0, 1, L"M4A", L"M4A Title", L"Lead", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, 95},
    {"swapped.m4a", kMp4, 0, 1, L"M4A", L"M4A Title", L"Group", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, 95},
    {"wide.m4a", kMp4, 0, 1, L"M4A", L"M4A Title", L"Lead", L"Disc", L"hello", L"Speech", 3, 12, 2005, 2, 44100, 2, 95},
    {"isom.m4a", kMp4, 0, 1, L"M4A", L"Plain", L"", L"", L"", L"", 0, 0, 0, 2, 22050, 1, 49},
    {"alac.m4a", kMp4, 0, 1, L"M4A", L"Lossless", L"", L"", L"", L"", 0, 0, 0, 1, 22050, 1, 152},
    {"tags.m4a", kMp4, 126, 0, L"", L"", L"", L"", L"", L"", 0, 0, 0, 0, 0, 0, 0},
};

TEST(TagReaders, EveryFormOfTag) {
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  ASSERT_FALSE(folder.empty()) << "TPWR_FIXTURES is not set";
  for (const TagCase& c : kCases) {
    SCOPED_TRACE(c.file);
    std::vector<uint8_t> bytes = ReadWholeFile(TestPath(TestPath(folder, "tags"), c.file));
    ASSERT_GT(bytes.size(), 1000u);
    if (c.cutAt) bytes.resize(c.cutAt);
    MemorySource memory{};
    ByteSource source{};
    ByteSourceOpenMemory(&source, &memory, bytes.data(), bytes.size());
    FileInfo info{};
    FlacStreamInfo stream{};
    int readable = c.reader == kOgg ? OggReadFileInfo(&source, &info)
                   : c.reader == kFlac ? FlacReadMetadata(&source, &stream, &info)
                   : c.reader == kAsf  ? AsfReadFileInfo(&source, &info)
                                       : Mp4ReadFileInfo(&source, &info);
    EXPECT_EQ(readable, c.readable);
    EXPECT_STREQ(info.codecLabel, c.codec);
    EXPECT_STREQ(info.title, c.title);
    EXPECT_STREQ(info.artist, c.artist);
    EXPECT_STREQ(info.album, c.album);
    EXPECT_STREQ(info.comment, c.comment);
    EXPECT_STREQ(info.genre, c.genre);
    EXPECT_EQ(info.track, c.track);
    EXPECT_EQ(info.trackTotal, c.trackTotal);
    EXPECT_EQ(info.year, c.year);
    EXPECT_EQ(info.channelMode, c.channels);
    EXPECT_EQ(info.sampleRate, c.rate);
    EXPECT_EQ(info.lengthSeconds, c.length);
    if (c.bitRate >= 0) {
      EXPECT_EQ(info.bitRate, c.bitRate);
    } else {  // FLAC: the file's size over its time
      EXPECT_EQ(info.bitRate, int32_t((bytes.size() * 8 + 1000) / 2000));
    }
  }
}

}  // namespace
