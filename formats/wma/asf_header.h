// What the file-information record shows for a WMA file, read from the
// objects of its ASF header: File Properties, Stream Properties, Content
// Description and Extended Content Description.
#pragma once
#include "base/byte_source.h"
#include "formats/file_info.h"

// Fills info, which the caller has cleared. Non-zero when the file starts with
// an ASF Header Object.
int AsfReadFileInfo(ByteSource* source, FileInfo* info);
