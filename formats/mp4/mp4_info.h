// What the file-information record shows for an MP4 audio file (M4A, M4V):
// the brand, the audio sample entry, the media header's length and the
// iTunes-style metadata items, found by walking the box tree.
#pragma once
#include "base/byte_source.h"
#include "formats/file_info.h"

// Fills info, which the caller has cleared. Non-zero when the file's top-level
// boxes could be walked; then a missing codec label reads "M4A" and the texts
// are trimmed. On failure info is cleared again.
int Mp4ReadFileInfo(ByteSource* source, FileInfo* info);
