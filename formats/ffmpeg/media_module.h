// The input module for phone and web recordings through FFmpeg: AAC and ALAC
// in MP4, M4A, MOV and 3GP files, raw AAC, Opus in Ogg and WebM/MKA, and AMR.
// The module table looks it up after the plug-ins.
#pragma once
#include "formats/input_module.h"

constexpr const wchar_t* kMediaExtensions = L"*.M4A;*.M4B;*.MP4;*.M4V;*.MOV;*.3GP;*.AAC;*.OPUS;*.WEBM;*.MKA;*.AMR";

// Fills the record with the module's operations and a new private state,
// which holds the decoder's ring buffer for the module's lifetime.
int MediaModuleSetUp(InputModule* module);
