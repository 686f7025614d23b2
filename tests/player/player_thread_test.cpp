// The player thread through its command protocol, with an owner window of the
// test's own; what reached the sound device is read back from the capture.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <tuple>

#include "engine_test_support.h"
#include "player/player_commands.h"
#include "player/player_messages.h"
#include "language/language.h"
#include "player/player_thread.h"
#include "player/position_ticker.h"
#include "test_support.h"
#include "ui/message_box.h"

namespace {

// Texts of the message boxes; the player shows its own from another thread.
std::mutex gShownLock;
std::vector<std::wstring> gShownTexts;

HANDLE gHoldBoxes = nullptr;  // while set and not signalled, boxes stay up

int RecordMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  {
    std::lock_guard<std::mutex> hold(gShownLock);
    gShownTexts.push_back(text);
  }
  if (gHoldBoxes) WaitForSingleObject(gHoldBoxes, 10000);
  return IDOK;
}

std::vector<std::wstring> Shown() {
  std::lock_guard<std::mutex> hold(gShownLock);
  return gShownTexts;
}

void ClearShown() {
  std::lock_guard<std::mutex> hold(gShownLock);
  gShownTexts.clear();
}

int RefuseDevice(OutputModule*, const FormatRecord*) { return 0; }

void InstallRefusingOutput(OutputModule* output) {
  WaveOutputInstall(output);
  output->Open = RefuseDevice;
}

void QuitPlayer() {
  if (!gPlayerThread) return;
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, gPlayerThreadId.load());
  PlayerPostCommand(PC_QUIT, 0, 0);
  if (thread) {
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
  }
}

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  CloseHandle(snapshot);
  return count;
}

// Where a seek to numerator/denominator lands in a counting file: whole
// frames on a 4-byte boundary.
uint32_t SeekFrame(uint32_t frames, uint32_t numerator, uint32_t denominator) {
  uint64_t target = static_cast<uint64_t>(double(numerator) / double(denominator) * double(frames) * 4);
  return static_cast<uint32_t>(target / 4);
}

struct PlayerTest : ::testing::Test {
  OwnerWindow owner;
  std::wstring path;  // must outlive the open request

  void SetUp() override {
    DeleteCapture();
    ClearShown();
    gMessageBoxRoutine = RecordMessageBox;
    SetCurrentLanguageTable(kLanguageTableEnglish);
    ASSERT_NE(owner.window, nullptr);
    ASSERT_TRUE(StartAndOwn());
  }
  void TearDown() override {
    QuitPlayer();
    gPlayerInstallOutput = WaveOutputInstall;
    SetCurrentLanguageTable(nullptr);
  }
  bool StartAndOwn() {
    if (!PlayerStart()) return false;
    PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(owner.window));
    PlayerPostCommand(PC_SETSCALE, 0, 100);
    return true;
  }
  // Opens through the user-interface entry, and takes in the stopped state that
  // its Stop reports, so that later waits see only what follows.
  bool Open(const char* name) {
    path = FixturePath(name);
    size_t from = Mark();
    if (!PlayerOpenAudioFile(owner.window, path.c_str())) return false;
    return WaitState(kStateStopped, from, 5000);
  }
  size_t Mark() const { return owner.received.size(); }
  std::vector<LPARAM> StatesSince(size_t from) const {
    std::vector<LPARAM> states;
    for (size_t i = from; i < owner.received.size(); ++i)
      if (owner.received[i].message == PN_STATE) states.push_back(owner.received[i].lParam);
    return states;
  }
  bool WaitState(LPARAM state, size_t from, DWORD timeoutMs = 120000) {
    return WaitUntil(
        [&] {
          for (LPARAM s : StatesSince(from))
            if (s == state) return true;
          return false;
        },
        timeoutMs);
  }
  // Plays from the current state to the end of the stream and the closed output.
  bool PlayToEnd() {
    size_t from = Mark();
    PlayerPostCommand(PC_PLAY, 0, 0);
    return WaitState(kStateStopped, from);
  }
  bool WaitForSound() {
    return WaitUntil([] { return CaptureSize() > 0; }, 10000);
  }
  // Stopped as after a Stop: no file module, no output, no device.
  static void ExpectClosed() {
    PlayerState* state = gPlayerState.load();
    ASSERT_NE(state, nullptr);
    EXPECT_FALSE(state->outputOpen);
    EXPECT_EQ(state->output.device, nullptr);
    EXPECT_EQ(state->modules.current, nullptr);
  }
};

TEST_F(PlayerTest, PlaysAFileExactlyToItsEndAndAgainAfterIt) {
  ASSERT_TRUE(Open("count8k-3s.wav"));
  std::vector<uint8_t> pcm = WavPcm(path);
  ASSERT_FALSE(pcm.empty());
  size_t from = Mark();
  ASSERT_TRUE(PlayToEnd());
  EXPECT_EQ(StatesSince(from), (std::vector<LPARAM>{kStatePlaying, kStateEndOfStream, kStateStopped}));
  EXPECT_TRUE(WithoutZeroFrames(ReadCapture()) == pcm);
  ExpectClosed();
  EXPECT_EQ(owner.Count(PN_VOLUME), 1);
  // The format completed the file's record, which came with the seekable flag.
  auto info = std::find_if(owner.received.rbegin(), owner.received.rend(),
                           [](const Notification& n) { return n.message == PN_INFO; });
  ASSERT_NE(info, owner.received.rend());
  EXPECT_EQ(info->wParam, 1u);
  const auto* block = reinterpret_cast<const FileInfoBlock*>(info->lParam);
  EXPECT_EQ(std::tuple(block->info.sampleRate, block->info.lengthSeconds), std::tuple(8000u, 3u));
  EXPECT_EQ(std::wstring(block->path), path);

  // Play after the end: the same file from its beginning, without a new open.
  uint64_t before = CaptureSize();
  ASSERT_TRUE(PlayToEnd());
  auto runs = CountingRuns(ReadCapture(), static_cast<size_t>(before));
  ASSERT_EQ(runs.size(), 1u) << RunsText(runs) << " before " << before << " whole:" << RunsText(CountingRuns(ReadCapture()));
  EXPECT_EQ(runs[0].first, 0u);
  EXPECT_EQ(runs[0].frames, pcm.size() / 4);
}

// The seek bar follows the file's information: the first file of a run can
// be moved in before it has ever played.
TEST_F(PlayerTest, AnOpenedFileIsSeekableBeforeItPlays) {
  ASSERT_TRUE(Open("count8k-3s.wav"));
  PlayerPostCommand(PC_GETINFO, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return owner.Count(PN_INFO) > 0; }, 5000));
  for (const Notification& n : owner.received) {
    if (n.message == PN_INFO) {
      EXPECT_EQ(n.wParam, WPARAM{1});
    }
  }
}

TEST_F(PlayerTest, StopClosesEverythingAndPlayRestartsFromTheBeginning) {
  ASSERT_TRUE(Open("count44k-20s.wav"));
  uint32_t frames = CountingFrames(path);
  PlayerPostCommand(PC_PLAY, 0, 0);
  ASSERT_TRUE(WaitForSound());
  size_t from = Mark();
  PlayerPostCommand(PC_STOP, 0, 0);
  ASSERT_TRUE(WaitState(kStateStopped, from));
  PumpFor(300);
  ExpectClosed();
  EXPECT_EQ(gPlayerState.load()->modules.currentIndex, kSlotWav);
  uint64_t stopped = CaptureSize();
  auto before = CountingRuns(ReadCapture());
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].first, 0u);
  EXPECT_LT(before[0].frames, frames);

  ASSERT_TRUE(PlayToEnd());
  auto after = CountingRuns(ReadCapture(), static_cast<size_t>(stopped));
  ASSERT_EQ(after.size(), 1u) << RunsText(after) << " whole:" << RunsText(CountingRuns(ReadCapture()));
  EXPECT_EQ(after[0].first, 0u);
  EXPECT_EQ(after[0].frames, frames);
}

TEST_F(PlayerTest, ASeekFlushesAndGoesOnAtTheLastQueuedFraction) {
  enum { kFromStopped, kFromPlaying, kFromPaused };
  struct Seek {
    WPARAM numerator;
    LPARAM denominator;
  };
  struct {
    const char* name;
    const char* file;
    int from;
    std::vector<Seek> seeks;  // queued together: only the last is performed
  } cases[] = {
      {"a burst", "count44k-20s.wav", kFromPlaying, {{1, 4}, {1, 2}, {3, 4}}},
      // No Play follows: the flush leaves the device running, so the file plays to its end.
      {"while paused", "count44k-20s.wav", kFromPaused, {{1, 2}}},
      {"while stopped, ignored", "count8k-3s.wav", kFromStopped, {{1, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Open(c.file));
    DeleteCapture();
    uint32_t frames = CountingFrames(path);
    size_t from = Mark();
    if (c.from != kFromStopped) {
      PlayerPostCommand(PC_PLAY, 0, 0);
      ASSERT_TRUE(WaitForSound());
    }
    if (c.from == kFromPaused) {
      PlayerPostCommand(PC_PAUSE, 0, 0);
      ASSERT_TRUE(WaitState(kStatePaused, from));
    }
    // Held still, so that a burst waits in the queue together.
    ASSERT_NE(SuspendThread(gPlayerThread.load()), DWORD(-1));
    for (const Seek& seek : c.seeks) PlayerPostCommand(PC_SEEK, seek.numerator, seek.denominator);
    ResumeThread(gPlayerThread.load());
    if (c.from == kFromStopped) {
      ASSERT_TRUE(PlayToEnd());
    } else {
      ASSERT_TRUE(WaitState(kStateStopped, from));
    }
    auto runs = CountingRuns(ReadCapture());
    uint32_t target = c.from == kFromStopped ? 0 : SeekFrame(frames, c.seeks.back().numerator, c.seeks.back().denominator);
    ASSERT_EQ(runs.size(), c.from == kFromStopped ? 1u : 2u) << RunsText(runs);
    EXPECT_EQ(runs[0].first, 0u);
    if (c.from != kFromStopped) {
      EXPECT_LT(runs[0].frames, target);
    }
    EXPECT_EQ(runs.back().first, target);
    EXPECT_EQ(runs.back().first + runs.back().frames, frames);
  }
}

TEST_F(PlayerTest, ASecondOwnerIsToldStoppedAndNotRegistered) {
  OwnerWindow second;
  PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(second.window));
  ASSERT_TRUE(WaitUntil([&] { return second.Count(PN_STATE) == 1; }, 5000));
  EXPECT_EQ(second.Values(PN_STATE)[0], kStateStopped);
  // Pause while stopped still reports paused, to the first owner only.
  PlayerPostCommand(PC_PAUSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return owner.Count(PN_STATE) == 1; }, 5000));
  EXPECT_EQ(owner.Values(PN_STATE)[0], kStatePaused);
  PumpFor(300);
  EXPECT_EQ(second.Count(PN_STATE), 1);
  // Once the owner lets go, the second window may register.
  PlayerPostCommand(PC_SETOWNER, 0, 0);
  PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(second.window));
  PlayerPostCommand(PC_PAUSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return second.Count(PN_STATE) == 2; }, 5000));
  EXPECT_EQ(second.Values(PN_STATE)[1], kStatePaused);
  EXPECT_EQ(owner.Count(PN_STATE), 1);
}

TEST_F(PlayerTest, PositionAndProgressFollowTheClock) {
  ASSERT_TRUE(Open("count8k-100s.wav"));  // 100 s: progress equals seconds
  size_t from = Mark();
  PlayerPostCommand(PC_PLAY, 0, 0);
  PlayerPostCommand(PC_SEEK, 1, 2);
  ASSERT_TRUE(WaitUntil([&] { return owner.Count(PN_PROGRESS) && owner.Values(PN_PROGRESS).back() >= 50; }, 10000));
  PlayerPostCommand(PC_STOP, 0, 0);
  ASSERT_TRUE(WaitState(kStateStopped, from));
  PumpFor(300);
  LPARAM lastPosition = -1;
  int progressReports = 0;
  for (size_t i = from; i < owner.received.size(); ++i) {
    const Notification& n = owner.received[i];
    if (n.message == PN_POSITION) {
      EXPECT_TRUE(n.lParam == 0 || (n.lParam >= 50 && n.lParam < 100)) << n.lParam;
      EXPECT_NE(n.lParam, lastPosition) << "only changes are reported";
      lastPosition = n.lParam;
    } else if (n.message == PN_PROGRESS) {
      EXPECT_EQ(n.lParam, lastPosition) << "position / length x 100";
      ++progressReports;
    }
  }
  EXPECT_GE(progressReports, 1);
  auto positions = owner.Values(PN_POSITION);
  EXPECT_NE(std::find(positions.begin(), positions.end(), 50), positions.end());
}

TEST_F(PlayerTest, AFileWithoutLengthReportsPositionZeroAndNoProgress) {
  ASSERT_TRUE(Open("count8k-half.wav"));
  size_t from = Mark();
  ASSERT_TRUE(PlayToEnd());
  PumpFor(400);
  std::vector<LPARAM> positions;
  int progress = 0;
  for (size_t i = from; i < owner.received.size(); ++i) {
    if (owner.received[i].message == PN_POSITION) positions.push_back(owner.received[i].lParam);
    if (owner.received[i].message == PN_PROGRESS) ++progress;
  }
  EXPECT_EQ(positions, std::vector<LPARAM>{0});
  EXPECT_EQ(progress, 0);
}

TEST_F(PlayerTest, FailedOpensLeaveNothingToPlayAndTellTheUserOnce) {
  struct {
    const char* name;
    int slot;  // -1: any module, and the user-interface entry is tried too
    bool openGoodFileFirst;  // a stored path that the failure must clear
  } cases[] = {
      {"missing.wav", -1, false},
      {"notes.xyz", -1, true},   // no module takes it
      {"noise.mp3", -1, true},   // matched by extension, refused by Test
      {"broken.wav", -1, true},  // the WAV module's Open fails
      {"broken.wav", kSlotWav, true},
      {"count8k-3s.wav", kModuleSlots, true},  // no such slot
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " slot " << c.slot);
    QuitPlayer();
    DeleteCapture();
    ClearShown();
    ASSERT_TRUE(StartAndOwn());
    if (c.openGoodFileFirst) {
      ASSERT_TRUE(Open("count8k-3s.wav"));
      EXPECT_TRUE(Shown().empty());
    }
    std::wstring failing = FixturePath(c.name);
    EXPECT_FALSE(PlayerOpenCommand(c.slot, failing.c_str()));
    ASSERT_NE(gPlayerState, nullptr);
    EXPECT_EQ(gPlayerState.load()->file.path[0], L'\0');
    EXPECT_EQ(gPlayerState.load()->modules.current, nullptr);
    size_t from = Mark();
    PlayerPostCommand(PC_PLAY, 0, 0);
    PumpFor(400);
    EXPECT_TRUE(StatesSince(from).empty()) << "play does nothing";
    EXPECT_EQ(CaptureSize(), 0u);
    if (c.slot != -1) continue;
    ClearShown();
    EXPECT_FALSE(Open(c.name));
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], L"Cannot open the audio file.\n\n" + std::wstring(c.name, c.name + strlen(c.name)));
  }
}

TEST_F(PlayerTest, AnUnopenableDeviceLeavesThePlayerStoppedAndSaysSo) {
  QuitPlayer();
  gPlayerInstallOutput = InstallRefusingOutput;
  ASSERT_TRUE(StartAndOwn());
  ASSERT_TRUE(Open("count8k-3s.wav"));
  size_t first = Mark();
  PlayerPostCommand(PC_PLAY, 0, 0);
  ASSERT_TRUE(WaitState(kStateStopped, first, 5000));
  ASSERT_TRUE(WaitUntil([] { return !Shown().empty(); }, 5000));
  PumpFor(400);
  EXPECT_EQ(StatesSince(first), std::vector<LPARAM>{kStateStopped}) << "never reported playing";
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0], L"Cannot open the sound device.");
  ExpectClosed();
  EXPECT_EQ(CaptureSize(), 0u);

  // While the box is up the player goes on taking commands, and a second
  // failure adds no second box.
  ClearShown();
  gHoldBoxes = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  size_t from = Mark();
  PlayerPostCommand(PC_PLAY, 0, 0);
  ASSERT_TRUE(WaitUntil([] { return !Shown().empty(); }, 5000));
  PlayerPostCommand(PC_PLAY, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return StatesSince(from).size() == 2; }, 5000));
  PumpFor(300);
  EXPECT_EQ(Shown().size(), 1u);
  SetEvent(gHoldBoxes);
  PumpFor(200);
  CloseHandle(gHoldBoxes);
  gHoldBoxes = nullptr;
}

TEST_F(PlayerTest, QuitEndsBothThreadsAndLeaksNoHandle) {
  // A first round loads what the sound system keeps for the process.
  ASSERT_TRUE(Open("count8k-3s.wav"));
  ASSERT_TRUE(PlayToEnd());
  QuitPlayer();
  DWORD handlesBefore = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesBefore));
  int threadsBefore = ThreadCount();

  ASSERT_TRUE(StartAndOwn());
  ASSERT_TRUE(Open("count44k-20s.wav"));
  PlayerPostCommand(PC_PLAY, 0, 0);
  ASSERT_TRUE(WaitForSound());
  QuitPlayer();  // while playing
  EXPECT_EQ(gPlayerThread, nullptr);
  EXPECT_EQ(gPlayerState, nullptr);
  EXPECT_FALSE(PlayerPostCommand(PC_PLAY, 0, 0)) << "nothing is posted while the player is not running";
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 3000)) << "the ticker ended";
  DWORD handlesAfter = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
  EXPECT_EQ(handlesAfter, handlesBefore);
}

// The player opens its own copy of the path: a caller that gave up waiting may
// already have reused its buffer.
TEST_F(PlayerTest, AnOpenThatOutlivesItsWaitOpensTheFileItWasGiven) {
  std::wstring good = FixturePath("count8k-3s.wav");
  wchar_t path[kMaxPathChars + 1];
  lstrcpynW(path, good.c_str(), kMaxPathChars + 1);
  ASSERT_NE(SuspendThread(gPlayerThread.load()), DWORD(-1));
  gPlayerOpenWaitMs = 200;
  EXPECT_FALSE(PlayerOpenCommand(kSlotWav, path)) << "no answer within the wait";
  gPlayerOpenWaitMs = 30000;
  lstrcpynW(path, L"Z:\\gone.wav", kMaxPathChars + 1);  // the caller's buffer, used again
  ResumeThread(gPlayerThread.load());
  EXPECT_TRUE(WaitUntil([&] { return std::wstring(gPlayerState.load()->file.path) == good; }, 5000));
}

// What reaches the capture runs ahead of what is heard by everything queued
// on the way to it, so the pause point is the player's own: the clock's.
TEST_F(PlayerTest, AResumeGoesBackByTheRewindFromWhereItPaused) {
  constexpr uint32_t kRate = 44100;
  struct {
    const char* name;
    uint32_t rewindMs;
    uint32_t playMs;  // of sound reaching the capture before the pause
  } cases[] = {
      {"one second", 1000, 4000},
      {"rewind off", 0, 4000},
      {"never before the start", 1000, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Open("count44k-20s.wav"));
    DeleteCapture();
    size_t from = Mark();
    PlayerPostCommand(PC_PLAY, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return CaptureSize() >= uint64_t{c.playMs} * kRate * 4 / 1000; }, 20000));
    PlayerPostCommand(PC_PAUSE, 0, 0);
    ASSERT_TRUE(WaitState(kStatePaused, from));
    PumpFor(300);
    int64_t pausedAt = gPlayerState.load()->pausedAtMs;
    auto before = CountingRuns(ReadCapture());
    ASSERT_EQ(before.size(), 1u) << RunsText(before);
    // Not beyond what reached the device, and nothing was heard before the start.
    EXPECT_LE(uint64_t(pausedAt) * kRate / 1000, uint64_t{before[0].first} + before[0].frames);
    uint64_t paused = CaptureSize();
    PlayerPostCommand(PC_RESUME, c.rewindMs, 0);
    ASSERT_TRUE(WaitUntil([&] { return CaptureSize() > paused + kRate * 4 / 2; }, 10000));
    auto after = CountingRuns(ReadCapture(), size_t(paused));
    // The few milliseconds that the sound system itself still held at the
    // pause come first; waveOut reaches no further.
    if (after.size() > 1 && after[0].frames < kRate / 50) after.erase(after.begin());
    ASSERT_FALSE(after.empty());
    int64_t expectedMs = pausedAt > int64_t{c.rewindMs} ? pausedAt - c.rewindMs : 0;
    EXPECT_NEAR(double(after[0].first), double(expectedMs) * kRate / 1000, 2)
        << "paused at " << pausedAt << " ms, resumed at frame " << after[0].first << " " << RunsText(after);
    PlayerPostCommand(PC_STOP, 0, 0);
    ASSERT_TRUE(WaitState(kStateStopped, from));
  }
}

TEST_F(PlayerTest, AtAnotherSpeedTheStretchedSoundIsShorterAtThePitchItHad) {
  ASSERT_TRUE(Open("tone440-6s.wav"));
  DeleteCapture();
  PlayerPostCommand(PC_SETSPEED, 150, 0);
  ASSERT_TRUE(PlayToEnd());
  std::vector<double> sound = FirstChannel(WithoutZeroFrames(ReadCapture()), 1, 1);
  EXPECT_NEAR(double(sound.size()), 6 * 44100 / 1.5, 6 * 44100 / 1.5 * 0.01);
  EXPECT_NEAR(DominantFrequency(sound, 44100), 440, 4.4);
}

// The capture device takes sound faster than it would sound, so the time base
// here is the time that passes: the position is to count the recording's
// seconds played in it, at any speed. A long file, as the device would finish
// a short one early.
TEST_F(PlayerTest, AtAnotherSpeedPositionsStayInRecordingTime) {
  ASSERT_TRUE(Open("silence8k-700s.wav"));
  auto position = [&] { return owner.Count(PN_POSITION) ? owner.Values(PN_POSITION).back() : LPARAM(-1); };
  PlayerPostCommand(PC_SETSPEED, 150, 0);
  PlayerPostCommand(PC_PLAY, 0, 0);
  PumpFor(7000);  // 10.5 s of the recording at 150 %
  EXPECT_EQ(position(), 10) << "a cue taken now says 00:10";

  // Go to 00:05: the clock goes on from there at the same speed.
  PlayerPostCommand(PC_SEEK, 5, 700);
  PumpFor(2333);  // 3.5 s of the recording
  EXPECT_EQ(position(), 8);

  // Back to the recorded speed: the position neither jumps nor stalls.
  size_t from = Mark();
  PlayerPostCommand(PC_SETSPEED, 100, 0);
  PumpFor(2000);
  EXPECT_EQ(position(), 10);
  for (size_t i = from; i < owner.received.size(); ++i) {
    if (owner.received[i].message == PN_POSITION) {
      EXPECT_GE(owner.received[i].lParam, 8);
    }
  }
  PlayerPostCommand(PC_STOP, 0, 0);
  ASSERT_TRUE(WaitState(kStateStopped, from));
}

// Milliseconds from a counter of 3.58 MHz, as many machines have, stay exact
// for hours; dividing by a truncated ticks-per-millisecond ran 1.6 s ahead
// after three hours.
TEST(PositionClock, ExactOverHoursOfPlayback) {
  const uint64_t frequency = 3579545;
  for (uint64_t seconds : {uint64_t{3 * 3600}, uint64_t{49 * 24 * 3600 + 1}})
    EXPECT_EQ(ClockMilliseconds(seconds * frequency, frequency), seconds * 1000);
  EXPECT_EQ(ClockMilliseconds((frequency + 1) / 2, frequency), 500u);
  EXPECT_EQ(ClockMilliseconds(uint64_t(1) << 62, 10000000), (uint64_t(1) << 62) / 10000);
}

}  // namespace
