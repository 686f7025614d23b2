// The FLAC input module: the record the player drives for "*.FLAC" files.
#pragma once
#include "formats/input_module.h"

// Fills the record with the module's operations and a new private state.
int FlacModuleSetUp(InputModule* module);
