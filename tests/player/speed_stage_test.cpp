// The speed stage on a pure tone: the length is the recording's divided by the
// speed and the pitch stays where it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine_test_support.h"
#include "player/speed_stage.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A 440 Hz tone as 16-bit stereo or 8-bit mono PCM, read out in pieces of any size.
struct Tone {
  std::vector<uint8_t> pcm;
  size_t at = 0;
};

Tone MakeTone(uint32_t rate, int bits16, int stereo, double seconds) {
  Tone tone;
  size_t frames = size_t(rate * seconds);
  for (size_t i = 0; i < frames; ++i) {
    double value = 0.5 * std::sin(2 * kPi * 440.0 * double(i) / rate);
    for (int channel = 0; channel < (stereo ? 2 : 1); ++channel) {
      if (bits16) {
        int16_t sample = int16_t(value * 32767);
        tone.pcm.push_back(uint8_t(sample & 0xFF));
        tone.pcm.push_back(uint8_t((sample >> 8) & 0xFF));
      } else {
        tone.pcm.push_back(uint8_t(int(value * 127) + 128));
      }
    }
  }
  return tone;
}

int ReadTone(void* context, void* buffer, uint32_t* count) {
  Tone* tone = static_cast<Tone*>(context);
  size_t left = tone->pcm.size() - tone->at;
  size_t take = left < *count ? left : *count;
  if (take > 3000) take = 3000;  // never what was asked: the stage must gather
  memcpy(buffer, tone->pcm.data() + tone->at, take);
  tone->at += take;
  *count = uint32_t(take);
  return tone->at < tone->pcm.size();
}

}  // namespace

TEST(SpeedStage, StretchesTheLengthAndKeepsThePitch) {
  struct {
    uint32_t speed;
    int bits16;
    int stereo;
  } cases[] = {{50, 1, 1}, {75, 1, 1}, {150, 1, 1}, {200, 1, 1}, {70, 0, 0}, {100, 1, 1}};
  constexpr uint32_t kRate = 44100;
  constexpr double kSeconds = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.speed << " % " << (c.bits16 ? 16 : 8) << " bit");
    Tone tone = MakeTone(kRate, c.bits16, c.stereo, kSeconds);
    SpeedStage* stage = SpeedStageCreate();
    ASSERT_NE(stage, nullptr);
    FormatRecord format{10, 0, kRate, uint32_t(c.stereo), uint32_t(c.bits16)};
    SpeedStageSetFormat(stage, format);
    EXPECT_EQ(SpeedStageSetSpeed(stage, c.speed), c.speed);
    SpeedStageSetInput(stage, PcmSource{&tone, ReadTone});
    PcmSource source = SpeedStageSource(stage);
    std::vector<uint8_t> out;
    std::vector<uint8_t> buffer(32768);
    for (int more = 1; more;) {
      uint32_t count = uint32_t(buffer.size());
      more = source.Read(source.context, buffer.data(), &count);
      ASSERT_LE(count, buffer.size());
      out.insert(out.end(), buffer.begin(), buffer.begin() + count);
    }
    SpeedStageDestroy(stage);
    if (c.speed == 100) {
      EXPECT_TRUE(out == tone.pcm);  // untouched at the recorded speed
      continue;
    }
    std::vector<double> samples = FirstChannel(out, c.bits16, c.stereo);
    double expected = kSeconds * kRate * 100 / c.speed;
    EXPECT_NEAR(double(samples.size()), expected, expected * 0.01);
    EXPECT_NEAR(DominantFrequency(samples, kRate), 440.0, 4.4);
  }
}

TEST(SpeedStage, StepsStayOnTheGridAndInTheRange) {
  struct {
    uint32_t from;
    int direction;
    uint32_t to;
  } cases[] = {{100, -1, 90}, {100, 1, 110}, {50, -1, 50}, {200, 1, 200}, {73, 0, 70},
               {0, 0, 50},    {999, 0, 200}, {60, -1, 50}, {190, 1, 200}};
  for (const auto& c : cases) EXPECT_EQ(SpeedStepped(c.from, c.direction), c.to) << c.from << " " << c.direction;
}
