// What the file-information record shows for an MPEG audio file: the
// technical facts of its first frame (or of the stream scan when the first
// frame tells nothing) and the texts of its ID3v2 and ID3v1 tags.
#pragma once
#include "base/byte_source.h"
#include "formats/file_info.h"

// Fills info, which the caller has cleared. Non-zero when the technical
// fields could be told; the tags are read either way.
int MpegReadFileInfo(ByteSource* source, FileInfo* info);
