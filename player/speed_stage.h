// The speed stage: stands between the input module and the output, and plays
// the recording faster or slower with its pitch kept (SoundTouch's time
// stretch). At 100 % it hands the input's PCM on untouched. Free of windows.h;
// the player thread drives it.
#pragma once
#include <cstdint>

#include "formats/input_module.h"
#include "player/pcm_source.h"

constexpr uint32_t kSpeedMinimumPercent = 50;
constexpr uint32_t kSpeedMaximumPercent = 200;
constexpr uint32_t kSpeedStepPercent = 10;
constexpr uint32_t kSpeedNormalPercent = 100;

struct SpeedStage;

// Null when out of memory.
SpeedStage* SpeedStageCreate();
void SpeedStageDestroy(SpeedStage* stage);
// The PCM the input delivers (as GetFormat describes it); the stage delivers the same.
void SpeedStageSetFormat(SpeedStage* stage, const FormatRecord& format);
// Clamped to 50 to 200; returns the speed taken.
uint32_t SpeedStageSetSpeed(SpeedStage* stage, uint32_t percent);
uint32_t SpeedStageSpeed(const SpeedStage* stage);
// Where the stage pulls from; also throws away what it holds (as Clear).
void SpeedStageSetInput(SpeedStage* stage, PcmSource input);
// Throws away everything held, after a seek or a change of speed.
void SpeedStageClear(SpeedStage* stage);
// The stage as a source for the output module.
PcmSource SpeedStageSource(SpeedStage* stage);
// A speed one step slower or faster, kept within the range.
uint32_t SpeedStepped(uint32_t percent, int direction);
