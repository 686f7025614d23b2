// Generated MP3 files played through the player thread to the capture sound
// device: what reached the device must be the decoder's own output, and a
// mono file's length and positions must be the time that was heard.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_test_support.h"
#include "mpeg_decode_support.h"
#include "player/player_commands.h"
#include "player/player_messages.h"
#include "player/player_texts.h"
#include "player/player_thread.h"
#include "test_support.h"

namespace {

int SilentMessageBox(HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; }

struct MpegPlaybackTest : ::testing::Test {
  OwnerWindow owner;
  std::wstring path;  // must outlive the open request

  void SetUp() override {
    DeleteCapture();
    gPlayerMessageBox = SilentMessageBox;
    gPlayerLanguage = kPlayerEnglish;
    ASSERT_NE(owner.window, nullptr);
    ASSERT_TRUE(PlayerStart());
    PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(owner.window));
    PlayerPostCommand(PC_SETSCALE, 0, 100);
  }
  void TearDown() override {
    if (gPlayerThread) {
      HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, gPlayerThreadId);
      PlayerPostCommand(PC_QUIT, 0, 0);
      if (thread) {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
      }
    }
    gPlayerLanguage = -1;
  }
  size_t Mark() const { return owner.received.size(); }
  bool WaitState(LPARAM state, size_t from, DWORD timeoutMs = 120000) {
    return WaitUntil(
        [&] {
          for (size_t i = from; i < owner.received.size(); ++i)
            if (owner.received[i].message == PN_STATE && owner.received[i].lParam == state) return true;
          return false;
        },
        timeoutMs);
  }
  bool Open(const std::wstring& file) {
    path = file;
    size_t from = Mark();
    if (!PlayerOpenAudioFile(owner.window, path.c_str())) return false;
    return WaitState(kStateStopped, from, 5000);
  }
  bool PlayToEnd() {
    size_t from = Mark();
    PlayerPostCommand(PC_PLAY, 0, 0);
    return WaitState(kStateStopped, from);
  }
  std::vector<LPARAM> ValuesSince(UINT message, size_t from) const {
    std::vector<LPARAM> values;
    for (size_t i = from; i < owner.received.size(); ++i)
      if (owner.received[i].message == message) values.push_back(owner.received[i].lParam);
    return values;
  }
  // The length the player announced for the open file.
  uint32_t AnnouncedLength() const {
    const FileInfoBlock* block = nullptr;
    for (const Notification& n : owner.received)
      if (n.message == PN_INFO) block = reinterpret_cast<const FileInfoBlock*>(n.lParam);
    return block ? block->info.lengthSeconds : 0;
  }
};

struct PlaybackCase {
  const char* file;
  uint32_t channels;
  uint32_t sampleRate;
};

const PlaybackCase kPlaybackCases[] = {
    {"cbr128.mp3", 2, 44100},  // stereo, Info frame first
    {"joint.mp3", 2, 44100},   // mid/side frames
    {"mono.mp3", 1, 44100},    // single channel reaches the device as one
};

TEST_F(MpegPlaybackTest, WhatReachesTheDeviceIsTheDecodersOutput) {
  for (const PlaybackCase& c : kPlaybackCases) {
    SCOPED_TRACE(c.file);
    DeleteCapture();
    Decoded decoded;
    ASSERT_TRUE(DecodeWhole(FixturePath(c.file), &decoded));
    EXPECT_EQ(decoded.channels, c.channels);
    EXPECT_EQ(decoded.sampleRate, c.sampleRate);
    ASSERT_TRUE(Open(FixturePath(c.file)));
    ASSERT_TRUE(PlayToEnd());
    std::vector<uint8_t> played = WithoutZeroFrames(ReadCapture(), 2 * c.channels);
    std::vector<uint8_t> expected = WithoutZeroFrames(decoded.pcm, 2 * c.channels);
    // Nearly all of it is sound: a comparison of two empty streams proves nothing.
    EXPECT_GT(expected.size(), decoded.pcm.size() / 2);
    EXPECT_TRUE(played == expected) << FirstDifference(played, expected);
  }
}

TEST_F(MpegPlaybackTest, ATruncatedFilePlaysWhatTheDecoderMakesOfIt) {
  // Cut inside a frame well into the stream: the player must stop cleanly at
  // the same place the reader does.
  std::vector<uint8_t> whole = ReadWholeFile(FixturePath("cbr128.mp3"));
  ASSERT_GT(whole.size(), 40000u);
  std::vector<uint8_t> cut(whole.begin(), whole.begin() + 40000 + 211);
  std::wstring cutPath = TestPath(TestFolder("TPWR_ENGINE_FIXTURES"), "cbr128-cut.mp3");
  ASSERT_TRUE(WriteWholeFile(cutPath, cut));
  Decoded decoded;
  ASSERT_TRUE(DecodeWhole(cutPath, &decoded));
  Decoded full;
  ASSERT_TRUE(DecodeWhole(FixturePath("cbr128.mp3"), &full));
  EXPECT_LT(decoded.pcm.size(), full.pcm.size());
  ASSERT_TRUE(Open(cutPath));
  ASSERT_TRUE(PlayToEnd());
  std::vector<uint8_t> played = WithoutSilence(ReadCapture());
  std::vector<uint8_t> expected = WithoutSilence(decoded.pcm);
  EXPECT_TRUE(played == expected) << FirstDifference(played, expected);
  DeleteFileW(cutPath.c_str());
}

TEST_F(MpegPlaybackTest, MonoLengthAndPositionsAreThePlayedTime) {
  Decoded decoded;
  ASSERT_TRUE(DecodeWhole(FixturePath("mono.mp3"), &decoded));
  ASSERT_EQ(decoded.channels, 1u);
  const uint32_t heard = RoundedSeconds(decoded.pcm.size(), decoded);
  ASSERT_GE(heard, 4u) << "the fixture is long enough to tell the times apart";
  EXPECT_EQ(decoded.lengthSeconds, heard);

  ASSERT_TRUE(Open(FixturePath("mono.mp3")));
  // The file information the panel shows and keeps for cue times.
  PlayerPostCommand(PC_GETINFO, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return owner.Count(PN_INFO) > 0; }, 5000));
  EXPECT_EQ(AnnouncedLength(), heard) << "length, not twice it";

  // Seek to the middle while playing: the position restarts at half the
  // played time, and what follows on the device is the second half.
  size_t from = Mark();
  PlayerPostCommand(PC_PLAY, 0, 0);
  ASSERT_TRUE(WaitUntil([] { return CaptureSize() > 0; }, 10000));
  const uint64_t beforeSeek = CaptureSize();
  PlayerPostCommand(PC_SEEK, 1, 2);
  ASSERT_TRUE(WaitState(kStateStopped, from));
  PumpFor(300);

  std::vector<LPARAM> positions = ValuesSince(PN_POSITION, from);
  ASSERT_FALSE(positions.empty());
  for (LPARAM p : positions) EXPECT_LE(static_cast<uint32_t>(p), heard) << "no position beyond the end";
  const uint32_t half = heard / 2;
  bool sawHalf = false;
  for (LPARAM p : positions) sawHalf = sawHalf || static_cast<uint32_t>(p) == half || static_cast<uint32_t>(p) == half + 1;
  EXPECT_TRUE(sawHalf) << "a position at half of " << heard << " s after the seek";
  for (LPARAM progress : ValuesSince(PN_PROGRESS, from)) EXPECT_LE(progress, 100);

  // After the seek the device got about the second half of the file (plus
  // what was already queued before it).
  const uint64_t afterSeek = CaptureSize() - beforeSeek;
  const uint64_t halfBytes = decoded.pcm.size() / 2;
  EXPECT_GT(afterSeek, halfBytes * 8 / 10);
  EXPECT_LT(afterSeek, halfBytes * 3 / 2);
}

}  // namespace
