// Shared by the engine tests: an owner window that records the player's
// notifications, waits that keep its messages flowing, and reading back what
// reached the sound device from the capture file.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Notification {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A message-only window whose notifications are recorded in order.
struct OwnerWindow {
  HWND window = nullptr;
  std::vector<Notification> received;
  OwnerWindow();
  ~OwnerWindow();
  // The lParam values of one notification, in arrival order.
  std::vector<LPARAM> Values(UINT message) const;
  int Count(UINT message) const;
};

// Dispatches this thread's messages until done() or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches messages for the given time.
void PumpFor(DWORD ms);

// A contiguous run of counting frames: first index and number of frames.
struct FrameRun {
  uint32_t first;
  uint32_t frames;
};
// The runs of the counting frames in bytes[from...]; silence (all-zero frames,
// which the device plays when it runs dry) and a trailing partial frame are skipped.
std::vector<FrameRun> CountingRuns(const std::vector<uint8_t>& bytes, size_t from = 0);
// The runs as text, for failure messages.
std::string RunsText(const std::vector<FrameRun>& runs);
// bytes without their all-zero sample frames of frameBytes: what was played,
// without the silence the device adds when it runs dry (and a decoder's
// exact zeros alike).
std::vector<uint8_t> WithoutZeroFrames(const std::vector<uint8_t>& bytes, size_t frameBytes = 4);
// Where two sample streams first differ, for failure messages.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

// The first channel of 8- or 16-bit PCM as numbers, and the frequency from its
// rising zero crossings between the first and the last one (0 with fewer than two).
std::vector<double> FirstChannel(const std::vector<uint8_t>& pcm, int bits16, int stereo);
double DominantFrequency(const std::vector<double>& samples, uint32_t rate);

std::wstring FixturePath(const char* name);
// The capture sound device writes each opening of the device to a file of its
// own: TPWR_CAPTURE first, then TPWR_CAPTURE.0001, .0002 and so on.
std::wstring CapturePath();
// Everything played since DeleteCapture, in order.
std::vector<uint8_t> ReadCapture();
uint64_t CaptureSize();
void DeleteCapture();
// The sound data of a canonical 44-byte-header WAV file.
std::vector<uint8_t> WavPcm(const std::wstring& path);
// Frames of a counting file.
uint32_t CountingFrames(const std::wstring& path);
