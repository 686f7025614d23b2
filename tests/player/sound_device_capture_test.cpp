// Proves the sound-device capture that the playback tests stand on: PCM handed
// to waveOut arrives unchanged in the capture file.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "engine_test_support.h"
#include "formats/wav/wav_reader.h"
#include "player/waveout_output.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> DecodeWav(const std::wstring& path, FormatRecord* format) {
  WavStream stream{};
  ByteSource source{};
  std::vector<uint8_t> pcm;
  if (!ByteSourceOpenFile(&source, path.c_str()) || !WavOpen(&stream, &source)) return pcm;
  *format = stream.format;
  uint8_t buffer[32768];
  uint32_t count = sizeof buffer;
  while (WavRead(&stream, buffer, &count)) {
    pcm.insert(pcm.end(), buffer, buffer + count);
    count = sizeof buffer;
  }
  WavClose(&stream);
  return pcm;
}

// Plays pcm in blocks of 32768 bytes and waits until the device has taken all.
bool PlayThroughWaveOut(const FormatRecord& format, const std::vector<uint8_t>& pcm) {
  WAVEFORMATEX wave;
  WaveFormatFromRecord(&format, &wave);
  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HWAVEOUT device;
  if (waveOutOpen(&device, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR)
    return false;
  std::vector<WAVEHDR> headers((pcm.size() + 32767) / 32768);
  for (size_t i = 0; i < headers.size(); ++i) {
    headers[i].lpData = const_cast<LPSTR>(reinterpret_cast<const char*>(pcm.data() + i * 32768));
    headers[i].dwBufferLength = static_cast<DWORD>(std::min<size_t>(32768, pcm.size() - i * 32768));
    waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
    waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
  }
  for (auto& header : headers) {
    while (!(header.dwFlags & WHDR_DONE)) WaitForSingleObject(done, 1000);
    waveOutUnprepareHeader(device, &header, sizeof(WAVEHDR));
  }
  waveOutClose(device);
  CloseHandle(done);
  return true;
}

TEST(SoundDevice, CaptureHoldsExactlyThePcmHandedToWaveOut) {
  ASSERT_FALSE(TestFolder("TPWR_CAPTURE").empty()) << "TPWR_CAPTURE is not set";
  DeleteCapture();
  FormatRecord format{};
  auto pcm = DecodeWav(TestPath(TestPath(TestFolder("TPWR_FIXTURES"), "wav"), "stereo16.wav"), &format);
  ASSERT_GT(pcm.size(), 100000u);
  ASSERT_TRUE(PlayThroughWaveOut(format, pcm));
  auto captured = ReadCapture();
  ASSERT_EQ(captured.size(), pcm.size());
  EXPECT_TRUE(captured == pcm);
}

}  // namespace
