// What the file-information record shows for an Ogg file: the technical
// facts and comments of its Vorbis streams, found by walking its pages.
#pragma once
#include "base/byte_source.h"
#include "formats/file_info.h"

// Fills info, which the caller has cleared. Non-zero when a Vorbis stream was
// found (the codec label is then set and the texts trimmed).
int OggReadFileInfo(ByteSource* source, FileInfo* info);
