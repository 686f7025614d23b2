// The metadata blocks at the front of a FLAC file: the stream information
// that Test and the player need, and the Vorbis comments that the
// file-information record shows.
#pragma once
#include <cstdint>

#include "base/byte_source.h"
#include "formats/file_info.h"

struct FlacStreamInfo {
  uint32_t sampleRate;
  uint32_t channels;
  uint32_t bitsPerSample;
  uint64_t totalSamples;  // per channel; 0 when the encoder did not know
};

// Reads the blocks from the start of the source (behind an ID3v2 tag). Fills
// streamInfo from STREAMINFO and, when info is given, the record (which the
// caller has cleared) from STREAMINFO and VORBIS_COMMENT. Non-zero when the
// blocks up to the last one were read whole and STREAMINFO was among them;
// on failure info is cleared again.
int FlacReadMetadata(ByteSource* source, FlacStreamInfo* streamInfo, FileInfo* info);

// Test's verdict: max(1, seconds) for a stream of at least one millisecond, else 0.
int FlacTestVerdict(const FlacStreamInfo* streamInfo);
