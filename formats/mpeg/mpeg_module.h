// The MPEG audio input module: the record the player drives for
// "*.MP3;*.MP1;*.MP2;*.MPP" files.
#pragma once
#include "formats/input_module.h"

// Fills the record with the module's operations and a new private state.
int MpegModuleSetUp(InputModule* module);
