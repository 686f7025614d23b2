// The WAV input module: the record the player drives for "*.WAV" files.
#pragma once
#include "formats/input_module.h"

// Fills the record with the module's operations and a new private state.
int WavModuleSetUp(InputModule* module);
