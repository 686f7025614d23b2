// The WMA input module: the record the player drives for "*.WMA" files.
#pragma once
#include "formats/input_module.h"

// Fills the record with the module's operations and a new private state,
// which holds the decoder's ring buffer for the module's lifetime.
int WmaModuleSetUp(InputModule* module);
