// Owner window, waits and capture reading for the engine tests.
#include "engine_test_support.h"

#include <algorithm>

#include "test_support.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"TpwrTestOwner";

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* owner = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, 0));
  if (owner && message >= WM_USER + 1 && message <= WM_USER + 5) {
    owner->received.push_back({message, wParam, lParam});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOwnerClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnerProc;
  windowClass.cbWndExtra = sizeof(void*);
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kOwnerClass;
  registered = RegisterClassW(&windowClass) != 0;
}

}  // namespace

OwnerWindow::OwnerWindow() {
  RegisterOwnerClass();
  window = CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (window) SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(this));
}

OwnerWindow::~OwnerWindow() {
  if (window) DestroyWindow(window);
}

std::vector<LPARAM> OwnerWindow::Values(UINT message) const {
  std::vector<LPARAM> values;
  for (const Notification& n : received)
    if (n.message == message) values.push_back(n.lParam);
  return values;
}

int OwnerWindow::Count(UINT message) const { return static_cast<int>(Values(message).size()); }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  WaitUntil([] { return false; }, ms);
}

std::vector<FrameRun> CountingRuns(const std::vector<uint8_t>& bytes, size_t from) {
  std::vector<FrameRun> runs;
  for (size_t at = from; at + 4 <= bytes.size(); at += 4) {
    uint32_t index = uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                     uint32_t(bytes[at + 3]) << 24;
    if (index-- == 0) continue;  // silence
    if (!runs.empty() && runs.back().first + runs.back().frames == index)
      ++runs.back().frames;
    else
      runs.push_back({index, 1});
  }
  return runs;
}

std::string RunsText(const std::vector<FrameRun>& runs) {
  std::string text;
  for (const FrameRun& run : runs) text += " [" + std::to_string(run.first) + " +" + std::to_string(run.frames) + "]";
  return text;
}

std::vector<uint8_t> WithoutZeroFrames(const std::vector<uint8_t>& bytes, size_t frameBytes) {
  std::vector<uint8_t> kept;
  kept.reserve(bytes.size());
  for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
    auto frame = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    if (std::any_of(frame, frame + static_cast<std::ptrdiff_t>(frameBytes), [](uint8_t b) { return b != 0; }))
      kept.insert(kept.end(), frame, frame + static_cast<std::ptrdiff_t>(frameBytes));
  }
  return kept;
}

std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return "sizes " + std::to_string(a.size()) + "/" + std::to_string(b.size()) + ", first difference at byte " +
         std::to_string(differ.first - a.begin());
}

std::wstring FixturePath(const char* name) { return TestPath(TestFolder("TPWR_ENGINE_FIXTURES"), name); }

std::wstring CapturePath() { return TestFolder("TPWR_CAPTURE"); }

namespace {

std::wstring CapturePart(int index) {
  if (index == 0) return CapturePath();
  wchar_t suffix[16];
  swprintf(suffix, 16, L".%04d", index);
  return CapturePath() + suffix;
}

bool PartSize(int index, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(CapturePart(index).c_str(), GetFileExInfoStandard, &data)) return false;
  *size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  return true;
}

constexpr int kMaxCaptureParts = 200;

}  // namespace

std::vector<uint8_t> ReadCapture() {
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  for (int index = 0; index < kMaxCaptureParts && PartSize(index, &size); ++index) {
    std::vector<uint8_t> part = ReadWholeFile(CapturePart(index));
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

uint64_t CaptureSize() {
  uint64_t total = 0;
  uint64_t size = 0;
  for (int index = 0; index < kMaxCaptureParts && PartSize(index, &size); ++index) total += size;
  return total;
}

void DeleteCapture() {
  for (int index = 0; index < kMaxCaptureParts; ++index) DeleteFileW(CapturePart(index).c_str());
}

std::vector<uint8_t> WavPcm(const std::wstring& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  if (bytes.size() < 44) return {};
  return std::vector<uint8_t>(bytes.begin() + 44, bytes.end());
}

uint32_t CountingFrames(const std::wstring& path) { return static_cast<uint32_t>(WavPcm(path).size() / 4); }

std::vector<double> FirstChannel(const std::vector<uint8_t>& pcm, int bits16, int stereo) {
  std::vector<double> samples;
  size_t frameBytes = size_t(bits16 ? 2 : 1) * (stereo ? 2 : 1);
  for (size_t at = 0; at + frameBytes <= pcm.size(); at += frameBytes)
    samples.push_back(bits16 ? double(int16_t(uint16_t(pcm[at] | pcm[at + 1] << 8))) : double(pcm[at]) - 128);
  return samples;
}

double DominantFrequency(const std::vector<double>& samples, uint32_t rate) {
  size_t first = 0, last = 0, crossings = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0 && samples[i] >= 0) {
      if (!crossings) first = i;
      last = i;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return double(crossings - 1) * rate / double(last - first);
}
