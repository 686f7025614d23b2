// The Ogg Vorbis input module: playback through libvorbisfile on the
// program's own wide-character file source, behind a skipped ID3v2 tag; the
// file information from the page walker.
#include "formats/ogg/ogg_module.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "formats/id3v2_skip.h"
#include "formats/ogg/ogg_file_info.h"

namespace {

constexpr int kHoleLimit = 64;  // errors in a row that end the stream

// The file as libvorbisfile sees it: it begins behind the ID3v2 tag.
struct OggFile {
  ByteSource source;
  uint64_t start;
};

struct OggState {
  OggFile file;
  OggVorbis_File vorbis;
  int open;
  uint32_t channels;      // stored channels
  uint32_t rightChannel;  // the stored channel delivered as the right one
  FormatRecord format;
  uint8_t scratch[16384];  // decoded frames of a wider stream before two channels are picked
};

OggState* State(InputModule* module) { return static_cast<OggState*>(module->state); }

size_t ReadFile(void* buffer, size_t size, size_t count, void* context) {
  OggFile* file = static_cast<OggFile*>(context);
  if (size == 0) return 0;
  size_t want = size * count;
  size_t got = 0;
  while (got < want) {
    size_t piece = want - got < 0x100000 ? want - got : 0x100000;
    uint32_t n = ByteSourceRead(&file->source, static_cast<uint8_t*>(buffer) + got, static_cast<uint32_t>(piece));
    if (n == 0) break;
    got += n;
  }
  return got / size;
}

int SeekFile(void* context, ogg_int64_t offset, int whence) {
  OggFile* file = static_cast<OggFile*>(context);
  int64_t base = whence == SEEK_SET ? 0
                 : whence == SEEK_CUR ? static_cast<int64_t>(ByteSourceTell(&file->source) - file->start)
                 : static_cast<int64_t>(ByteSourceSize(&file->source) - file->start);
  int64_t to = base + offset;
  if (to < 0) return -1;
  return ByteSourceSeek(&file->source, file->start + static_cast<uint64_t>(to)) ? 0 : -1;
}

long TellFile(void* context) {
  OggFile* file = static_cast<OggFile*>(context);
  return static_cast<long>(ByteSourceTell(&file->source) - file->start);
}

int CloseFile(void* context) {
  ByteSourceClose(&static_cast<OggFile*>(context)->source);
  return 0;
}

const ov_callbacks kCallbacks = {ReadFile, SeekFile, CloseFile, TellFile};

// Opens path with the library; on success vorbis owns file. Chained files
// (several songs one after the other) are refused.
int OpenVorbis(OggFile* file, OggVorbis_File* vorbis, const wchar_t* path) {
  if (!ByteSourceOpenFile(&file->source, path)) return 0;
  file->start = Id3v2SkipTag(&file->source);
  if (ov_open_callbacks(file, vorbis, nullptr, 0, kCallbacks) != 0) {
    ByteSourceClose(&file->source);  // a failed open leaves the file to us
    return 0;
  }
  vorbis_info* info = ov_info(vorbis, -1);
  if (ov_streams(vorbis) != 1 || !info || info->channels < 1 || info->rate < 1) {
    ov_clear(vorbis);
    return 0;
  }
  return 1;
}

// Vorbis orders three or more channels with the centre second (L C R ...),
// except the four-channel layout (FL FR RL RR).
uint32_t RightChannelOf(uint32_t channels) {
  if (channels < 2) return 0;
  return channels == 2 || channels == 4 || channels > 8 ? 1 : 2;
}

void Release(InputModule* module) {
  if (State(module)->open) ov_clear(&State(module)->vorbis);
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread, so it opens a library object of its own.
int Test(InputModule*, void*, const wchar_t* path) {
  OggFile file{};
  OggVorbis_File vorbis;
  if (!OpenVorbis(&file, &vorbis, path)) return 0;
  ov_clear(&vorbis);
  return 1;  // any length, also below one second
}

void Close(InputModule* module) {
  OggState* state = State(module);
  if (state->open) ov_clear(&state->vorbis);
  state->open = 0;
}

int Open(InputModule* module, void*, const wchar_t* path) {
  OggState* state = State(module);
  Close(module);
  if (!OpenVorbis(&state->file, &state->vorbis, path)) return 0;
  state->open = 1;
  vorbis_info* info = ov_info(&state->vorbis, -1);
  state->channels = static_cast<uint32_t>(info->channels);
  state->rightChannel = RightChannelOf(state->channels);
  double seconds = ov_time_total(&state->vorbis, -1);
  long bitRate = ov_bitrate(&state->vorbis, -1);
  state->format.lengthSeconds = seconds > 0 ? static_cast<uint32_t>(seconds) : 0;
  ogg_int64_t samples = ov_pcm_total(&state->vorbis, -1);
  state->format.lengthMilliseconds = samples > 0 ? MillisecondsOf(uint64_t(samples), uint64_t(info->rate)) : 0;
  state->format.bitRate = bitRate > 0 ? static_cast<uint32_t>(bitRate / 1000) : 0;
  state->format.sampleRate = static_cast<uint32_t>(info->rate);
  state->format.stereo = state->channels > 1;
  state->format.bits16 = 1;
  return 1;
}

// 16-bit little-endian signed samples, all channels.
long DecodeInto(OggState* state, uint8_t* out, uint32_t capacity) {
  int section = 0;
  return ov_read(&state->vorbis, reinterpret_cast<char*>(out), static_cast<int>(capacity), 0, 2, 1, &section);
}

// Decodes into out at most capacity bytes of whole output frames; the
// library's result (bytes, 0 at the end, negative for a hole or an error).
long Decode(OggState* state, uint8_t* out, uint32_t capacity) {
  if (state->channels <= 2) return DecodeInto(state, out, capacity);
  uint32_t stored = 2 * state->channels;
  uint32_t frames = capacity / 4;
  if (frames > sizeof state->scratch / stored) frames = static_cast<uint32_t>(sizeof state->scratch / stored);
  long got = DecodeInto(state, state->scratch, frames * stored);
  if (got <= 0) return got;
  uint32_t decoded = static_cast<uint32_t>(got) / stored;
  for (uint32_t f = 0; f < decoded; ++f) {
    memcpy(out + 4 * f, state->scratch + f * stored, 2);
    memcpy(out + 4 * f + 2, state->scratch + f * stored + 2 * state->rightChannel, 2);
  }
  return static_cast<long>(decoded) * 4;
}

int Read(InputModule* module, void* buffer, uint32_t* count) {
  OggState* state = State(module);
  uint32_t capacity = *count;
  *count = 0;
  if (!state->open) return 0;
  uint32_t frame = state->format.stereo ? 4 : 2;
  uint32_t got = 0;
  int holes = 0;
  while (capacity - got >= frame) {
    long n = Decode(state, static_cast<uint8_t*>(buffer) + got, (capacity - got) / frame * frame);
    if (n == 0) break;
    if (n < 0) {
      // A hole in the stream is passed over; damage that never ends, ends the stream.
      if (++holes == kHoleLimit) break;
      continue;
    }
    holes = 0;
    got += static_cast<uint32_t>(n);
  }
  *count = got;
  return capacity - got < frame;
}

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  OggState* state = State(module);
  if (!state->open) return 0;
  ogg_int64_t total = ov_pcm_total(&state->vorbis, -1);
  if (total < 0) return 0;
  uint64_t target = SeekTarget(uint64_t(total), numerator, denominator);
  return ov_pcm_seek(&state->vorbis, static_cast<ogg_int64_t>(target)) == 0;
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  OggReadFileInfo(&source, &block->info);
  ByteSourceClose(&source);
}

// Counted in samples by the library, so it does not drift over hours.
uint32_t GetPosition(InputModule* module) {
  OggState* state = State(module);
  if (!state->open || !state->format.sampleRate) return 0;
  ogg_int64_t sample = ov_pcm_tell(&state->vorbis);
  return sample > 0 ? static_cast<uint32_t>(uint64_t(sample) / state->format.sampleRate) : 0;
}

}  // namespace

int OggModuleSetUp(InputModule* module) {
  OggState* state = new (std::nothrow) OggState{};
  if (!state) return 0;
  InputModuleBind(module, state, L"*.OGG;*.OGM", INPUT_MODULE_ROUTINES(GetInfo));
  return 1;
}
