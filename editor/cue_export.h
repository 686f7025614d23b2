// The transcript as timed captions: the text between one cue mark and the next
// is the caption of that span, written as SubRip, WebVTT or tab-separated
// text for subtitle and analysis tools. Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

enum CueExportFormat { kCueSubRip, kCueWebVtt, kCueTable };

struct CueExportOptions {
  CueExportFormat format;
  uint64_t recordingMs;  // the recording's length; 0 when not known
  int32_t offsetSeconds;  // added to every time (a part of a longer hearing)
};

// The last caption without a later cue or a known length lasts this long.
constexpr uint32_t kLastCaptionMs = 5000;

// The file's bytes (UTF-8; the table with a byte-order mark) in a new block
// the caller frees. Null when memory runs out.
uint8_t* ExportCues(const wchar_t* text, size_t length, const CueExportOptions* options, size_t* size);

// The format a file name asks for by its extension (.srt, .vtt, .tsv, any
// case); kCueSubRip for any other.
CueExportFormat CueFormatOfName(const wchar_t* name);
