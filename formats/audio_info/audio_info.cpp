#include "formats/audio_info/audio_info.h"

#include "base/byte_source.h"
#include "base/paths.h"
#include "formats/flac/flac_metadata.h"
#include "formats/mp4/mp4_info.h"
#include "formats/mpeg/mpeg_file_info.h"
#include "formats/ogg/ogg_file_info.h"
#include "formats/wma/asf_header.h"

namespace {

enum Kind { kMpeg, kWma, kOgg, kFlac, kMp4 };

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - 32) : c; }

int SameText(const wchar_t* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (Upper(*a) != wchar_t(*b)) return 0;
  return *a == 0 && *b == 0;
}

Kind KindOf(const wchar_t* path) {
  const wchar_t* dot = nullptr;
  for (const wchar_t* p = FileNamePart(path); *p; ++p)
    if (*p == L'.') dot = p;
  if (!dot) return kMpeg;
  static const struct {
    const char* extension;
    Kind kind;
  } kKinds[] = {{"WMA", kWma}, {"OGG", kOgg}, {"OGM", kOgg}, {"FLAC", kFlac}, {"M4A", kMp4}, {"M4V", kMp4}};
  for (const auto& entry : kKinds)
    if (SameText(dot + 1, entry.extension)) return entry.kind;
  return kMpeg;
}

}  // namespace

int AudioFileInfoByName(const wchar_t* path, FileInfo* info) {
  FileInfoClear(info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path)) return 0;
  int read = 0;
  FlacStreamInfo stream;
  switch (KindOf(path)) {
    case kWma: read = AsfReadFileInfo(&source, info); break;
    case kOgg: read = OggReadFileInfo(&source, info); break;
    case kFlac: read = FlacReadMetadata(&source, &stream, info); break;
    case kMp4: read = Mp4ReadFileInfo(&source, info); break;
    case kMpeg: read = MpegReadFileInfo(&source, info); break;
  }
  ByteSourceClose(&source);
  return read;
}
