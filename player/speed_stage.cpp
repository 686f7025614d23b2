// The speed stage over SoundTouch: 8- or 16-bit PCM in and out, floats inside.
#include "player/speed_stage.h"

#include <soundtouch/SoundTouch.h>

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kChunkFrames = 2048;  // frames per pull from the input

}  // namespace

struct SpeedStage {
  soundtouch::SoundTouch stretch;
  PcmSource input;
  uint32_t speed;
  uint32_t channels;
  uint32_t sampleBytes;  // 1 or 2
  int inputEnded;        // the input is done; what the stretch holds is drained
  uint8_t raw[kChunkFrames * 4];
  float samples[kChunkFrames * 2];
};

namespace {

uint32_t FrameBytes(const SpeedStage* stage) { return stage->channels * stage->sampleBytes; }

void ToFloat(const SpeedStage* stage, const uint8_t* raw, uint32_t count, float* out) {
  for (uint32_t i = 0; i < count; ++i) {
    if (stage->sampleBytes == 2) {
      int16_t value = int16_t(uint16_t(raw[2 * i] | raw[2 * i + 1] << 8));
      out[i] = float(value) / 32768.0f;
    } else {
      out[i] = (float(raw[i]) - 128.0f) / 128.0f;
    }
  }
}

void FromFloat(const SpeedStage* stage, const float* in, uint32_t count, uint8_t* raw) {
  for (uint32_t i = 0; i < count; ++i) {
    float value = in[i];
    if (value > 1.0f) value = 1.0f;
    if (value < -1.0f) value = -1.0f;
    if (stage->sampleBytes == 2) {
      int32_t scaled = int32_t(value * 32767.0f);
      raw[2 * i] = uint8_t(scaled & 0xFF);
      raw[2 * i + 1] = uint8_t((scaled >> 8) & 0xFF);
    } else {
      raw[i] = uint8_t(int32_t(value * 127.0f) + 128);
    }
  }
}

// Feeds one chunk of the input to the stretch; at the input's end flushes it.
// Returns the frames taken.
uint32_t Pull(SpeedStage* stage) {
  uint32_t frameBytes = FrameBytes(stage);
  uint32_t bytes = kChunkFrames * frameBytes;
  int more = stage->input.Read(stage->input.context, stage->raw, &bytes);
  if (bytes > kChunkFrames * frameBytes) bytes = kChunkFrames * frameBytes;  // a source must not claim more
  uint32_t frames = bytes / frameBytes;
  if (frames) {
    ToFloat(stage, stage->raw, frames * stage->channels, stage->samples);
    stage->stretch.putSamples(stage->samples, frames);
  }
  if (!more) {
    stage->inputEnded = 1;
    stage->stretch.flush();
  }
  return frames;
}

int ReadStretched(SpeedStage* stage, uint8_t* out, uint32_t* count) {
  uint32_t frameBytes = FrameBytes(stage);
  uint32_t wanted = *count / frameBytes;
  uint32_t done = 0;
  while (done < wanted) {
    if (!stage->stretch.numSamples()) {
      // An input with nothing at hand yet (a decoder thread behind) is asked again next time.
      if (stage->inputEnded || (!Pull(stage) && !stage->inputEnded)) break;
      continue;
    }
    uint32_t take = wanted - done;
    if (take > kChunkFrames) take = kChunkFrames;
    uint32_t got = stage->stretch.receiveSamples(stage->samples, take);
    FromFloat(stage, stage->samples, got * stage->channels, out + size_t(done) * frameBytes);
    done += got;
  }
  *count = done * frameBytes;
  return !(stage->inputEnded && !stage->stretch.numSamples());
}

int Read(void* context, void* buffer, uint32_t* count) {
  SpeedStage* stage = static_cast<SpeedStage*>(context);
  if (!PcmSourceIsSet(stage->input)) {
    *count = 0;
    return 0;
  }
  if (stage->speed == kSpeedNormalPercent) return stage->input.Read(stage->input.context, buffer, count);
  try {
    return ReadStretched(stage, static_cast<uint8_t*>(buffer), count);
  } catch (...) {
    *count = 0;  // nothing of SoundTouch's may cross into the player
    return 0;
  }
}

}  // namespace

SpeedStage* SpeedStageCreate() {
  try {
    SpeedStage* stage = new SpeedStage{};
    stage->speed = kSpeedNormalPercent;
    stage->channels = 2;
    stage->sampleBytes = 2;
    stage->stretch.setChannels(2);
    stage->stretch.setSampleRate(44100);
    return stage;
  } catch (...) {
    return nullptr;
  }
}

void SpeedStageDestroy(SpeedStage* stage) { delete stage; }

void SpeedStageSetFormat(SpeedStage* stage, const FormatRecord& format) {
  stage->channels = format.stereo ? 2 : 1;
  stage->sampleBytes = format.bits16 ? 2 : 1;
  try {
    stage->stretch.setChannels(stage->channels);
    stage->stretch.setSampleRate(format.sampleRate ? format.sampleRate : 44100);
  } catch (...) {
    stage->speed = kSpeedNormalPercent;  // pass through rather than fail
  }
  SpeedStageClear(stage);
}

uint32_t SpeedStageSetSpeed(SpeedStage* stage, uint32_t percent) {
  if (percent < kSpeedMinimumPercent) percent = kSpeedMinimumPercent;
  if (percent > kSpeedMaximumPercent) percent = kSpeedMaximumPercent;
  stage->speed = percent;
  stage->stretch.setTempo(double(percent) / 100.0);
  SpeedStageClear(stage);
  return percent;
}

uint32_t SpeedStageSpeed(const SpeedStage* stage) { return stage->speed; }

void SpeedStageSetInput(SpeedStage* stage, PcmSource input) {
  stage->input = input;
  SpeedStageClear(stage);
}

void SpeedStageClear(SpeedStage* stage) {
  stage->stretch.clear();
  stage->inputEnded = 0;
}

PcmSource SpeedStageSource(SpeedStage* stage) { return PcmSource{stage, Read}; }

uint32_t SpeedStepped(uint32_t percent, int direction) {
  // Back onto the 10 % grid first, so that an odd value from the settings file steps cleanly.
  uint32_t grid = (percent + kSpeedStepPercent / 2) / kSpeedStepPercent * kSpeedStepPercent;
  uint32_t next = direction > 0 ? grid + kSpeedStepPercent : direction < 0 ? grid - kSpeedStepPercent : grid;
  if (next < kSpeedMinimumPercent) next = kSpeedMinimumPercent;
  if (next > kSpeedMaximumPercent) next = kSpeedMaximumPercent;
  return next;
}
