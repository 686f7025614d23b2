// File information for a file that no built-in module plays (a plug-in
// does): the reader that the file's extension names fills the record.
#pragma once
#include "formats/file_info.h"

// WMA: the ASF header; OGG and OGM: the Ogg pages; FLAC: the metadata blocks;
// M4A and M4V: the MP4 boxes; anything else: MPEG audio with its ID3 tags.
// Clears info first. Non-zero when the file could be read.
int AudioFileInfoByName(const wchar_t* path, FileInfo* info);
