// The Ogg Vorbis input module: the record the player drives for "*.OGG" and "*.OGM" files.
#pragma once
#include "formats/input_module.h"

// Fills the record with the module's operations and a new private state.
int OggModuleSetUp(InputModule* module);
