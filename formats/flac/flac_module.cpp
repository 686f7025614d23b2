// The FLAC input module: libFLAC's stream decoder reads the program's own
// wide-character file source, so any file name opens; each decoded block
// waits in a reservoir as output PCM (16-bit, or 8-bit for 8-bit streams;
// wider samples rounded, the first two channels of more) until Read takes
// it. Positions are counted in samples.
#include "formats/flac/flac_module.h"

#include <FLAC/stream_decoder.h>

#include <cstring>
#include <new>

#include "formats/flac/flac_metadata.h"

namespace {

constexpr uint32_t kMaxBlockFrames = 65535;
constexpr int kEmptyDecodeLimit = 64;  // decoder steps in a row without sound that end the stream

struct FlacState {
  FLAC__StreamDecoder* decoder;  // created on first use, kept across files
  ByteSource source;
  int open;
  int ended;
  FlacStreamInfo stream;  // from the decoder's STREAMINFO
  FormatRecord format;
  uint32_t frameBytes;   // output bytes per sample frame
  uint64_t position;     // the next sample frame Read delivers
  uint32_t held;         // bytes in the reservoir
  uint32_t taken;        // of which Read has delivered
  uint8_t reservoir[kMaxBlockFrames * 4];
};

FlacState* State(InputModule* module) { return static_cast<FlacState*>(module->state); }

FLAC__StreamDecoderReadStatus ReadSource(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* context) {
  FlacState* state = static_cast<FlacState*>(context);
  size_t want = *bytes < 0x100000 ? *bytes : 0x100000;
  *bytes = ByteSourceRead(&state->source, buffer, static_cast<uint32_t>(want));
  return *bytes ? FLAC__STREAM_DECODER_READ_STATUS_CONTINUE : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__StreamDecoderSeekStatus SeekSource(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* context) {
  FlacState* state = static_cast<FlacState*>(context);
  return ByteSourceSeek(&state->source, offset) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
                                                : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
}

FLAC__StreamDecoderTellStatus TellSource(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* context) {
  *offset = ByteSourceTell(&static_cast<FlacState*>(context)->source);
  return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus LengthOfSource(const FLAC__StreamDecoder*, FLAC__uint64* length, void* context) {
  *length = ByteSourceSize(&static_cast<FlacState*>(context)->source);
  return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool SourceAtEnd(const FLAC__StreamDecoder*, void* context) {
  ByteSource* source = &static_cast<FlacState*>(context)->source;
  return ByteSourceTell(source) >= ByteSourceSize(source);
}

int32_t To16(FLAC__int32 sample, uint32_t bits) {
  if (bits <= 16) return sample * (1 << (16 - bits));
  uint32_t shift = bits - 16;
  int64_t rounded = (int64_t(sample) + (int64_t(1) << (shift - 1))) >> shift;
  return rounded > 32767 ? 32767 : static_cast<int32_t>(rounded);
}

// Appends a decoded block to the reservoir as output PCM.
FLAC__StreamDecoderWriteStatus WriteBlock(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                          const FLAC__int32* const channels[], void* context) {
  FlacState* state = static_cast<FlacState*>(context);
  uint32_t frames = frame->header.blocksize;
  uint32_t bits = frame->header.bits_per_sample;
  if (bits < 4 || bits > 32 || uint64_t(state->held) + uint64_t(frames) * state->frameBytes > sizeof state->reservoir)
    return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
  const FLAC__int32* left = channels[0];
  const FLAC__int32* right = frame->header.channels > 1 ? channels[1] : channels[0];
  uint8_t* out = state->reservoir + state->held;
  for (uint32_t i = 0; i < frames; ++i) {
    int32_t samples[2] = {To16(left[i], bits), To16(right[i], bits)};
    for (uint32_t c = 0; c < (state->format.stereo ? 2u : 1u); ++c) {
      if (state->format.bits16) {
        *out++ = static_cast<uint8_t>(samples[c] & 0xFF);
        *out++ = static_cast<uint8_t>((samples[c] >> 8) & 0xFF);
      } else {
        *out++ = static_cast<uint8_t>(((samples[c] >> 8) + 128) & 0xFF);  // 8-bit output is unsigned
      }
    }
  }
  state->held = static_cast<uint32_t>(out - state->reservoir);
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void TakeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* context) {
  if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO) return;
  FlacStreamInfo* stream = &static_cast<FlacState*>(context)->stream;
  stream->sampleRate = metadata->data.stream_info.sample_rate;
  stream->channels = metadata->data.stream_info.channels;
  stream->bitsPerSample = metadata->data.stream_info.bits_per_sample;
  stream->totalSamples = metadata->data.stream_info.total_samples;
}

// Damaged frames are the decoder's to skip or silence; it goes on by itself.
void NoteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

void Close(InputModule* module) {
  FlacState* state = State(module);
  if (state->open) FLAC__stream_decoder_finish(state->decoder);
  ByteSourceClose(&state->source);
  state->open = 0;
}

void Release(InputModule* module) {
  Close(module);
  if (State(module)->decoder) FLAC__stream_decoder_delete(State(module)->decoder);
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread: it reads the stream information itself.
int Test(InputModule*, void*, const wchar_t* path) {
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path)) return 0;
  FlacStreamInfo stream;
  int verdict = FlacReadMetadata(&source, &stream, nullptr) ? FlacTestVerdict(&stream) : 0;
  ByteSourceClose(&source);
  return verdict;
}

int StartDecoder(FlacState* state) {
  FLAC__StreamDecoder* decoder = state->decoder;
  FLAC__stream_decoder_set_md5_checking(decoder, false);
  FLAC__stream_decoder_set_metadata_ignore_all(decoder);
  FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_STREAMINFO);
  if (FLAC__stream_decoder_init_stream(decoder, ReadSource, SeekSource, TellSource, LengthOfSource, SourceAtEnd,
                                       WriteBlock, TakeMetadata, NoteError, state) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
    return 0;
  state->open = 1;
  return FLAC__stream_decoder_process_until_end_of_metadata(decoder) && state->stream.sampleRate &&
         state->stream.channels && state->stream.bitsPerSample >= 4;
}

int Open(InputModule* module, void*, const wchar_t* path) {
  FlacState* state = State(module);
  Close(module);
  memset(&state->stream, 0, sizeof state->stream);
  if (!state->decoder) state->decoder = FLAC__stream_decoder_new();
  if (!state->decoder || !ByteSourceOpenFile(&state->source, path)) return 0;
  if (!StartDecoder(state)) {
    Close(module);
    return 0;
  }
  const FlacStreamInfo& stream = state->stream;
  uint64_t ms = (stream.totalSamples * 1000 + stream.sampleRate / 2) / stream.sampleRate;
  state->format.lengthSeconds = static_cast<uint32_t>(ms / 1000);
  state->format.lengthMilliseconds = MillisecondsOf(stream.totalSamples, stream.sampleRate);
  state->format.bitRate = 0;
  state->format.sampleRate = stream.sampleRate;
  state->format.stereo = stream.channels > 1;
  state->format.bits16 = stream.bitsPerSample != 8;
  state->frameBytes = (state->format.stereo ? 2 : 1) * (state->format.bits16 ? 2 : 1);
  state->position = 0;
  state->held = state->taken = 0;
  state->ended = 0;
  return 1;
}

// Decodes the next block into the emptied reservoir. Zero at the end of the
// stream, on a fatal error, or when the decoder stops yielding sound.
int Refill(FlacState* state) {
  state->held = state->taken = 0;
  for (int step = 0; step < kEmptyDecodeLimit; ++step) {
    if (!FLAC__stream_decoder_process_single(state->decoder)) return 0;
    if (state->held) return 1;
    FLAC__StreamDecoderState now = FLAC__stream_decoder_get_state(state->decoder);
    if (now >= FLAC__STREAM_DECODER_END_OF_STREAM) return 0;  // the end, or an error
  }
  return 0;
}

int Read(InputModule* module, void* buffer, uint32_t* count) {
  FlacState* state = State(module);
  uint32_t capacity = *count;
  *count = 0;
  if (!state->open) return 0;
  capacity -= capacity % state->frameBytes;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  uint32_t delivered = 0;
  while (delivered < capacity) {
    if (state->taken == state->held && (state->ended || !Refill(state))) {
      state->ended = 1;
      break;
    }
    uint32_t piece = state->held - state->taken;
    if (piece > capacity - delivered) piece = capacity - delivered;
    memcpy(out + delivered, state->reservoir + state->taken, piece);
    state->taken += piece;
    delivered += piece;
  }
  state->position += delivered / state->frameBytes;
  *count = delivered;
  return !state->ended || state->taken < state->held;
}

// Moves the decoder to sample; the block it lands in is decoded into the
// emptied reservoir from that sample on.
int SeekToSample(FlacState* state, uint64_t sample) {
  state->held = state->taken = 0;
  if (FLAC__stream_decoder_seek_absolute(state->decoder, sample)) {
    state->position = sample;
    state->ended = 0;
    return 1;
  }
  if (FLAC__stream_decoder_get_state(state->decoder) == FLAC__STREAM_DECODER_SEEK_ERROR)
    FLAC__stream_decoder_flush(state->decoder);
  state->held = state->taken = 0;
  return 0;
}

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  FlacState* state = State(module);
  uint64_t total = state->stream.totalSamples;
  if (!state->open || !total) return 0;
  uint64_t target = SeekTarget(total, numerator, denominator);
  if (target >= total) {
    state->held = state->taken = 0;
    state->ended = 1;
    state->position = total;
    return 1;
  }
  if (SeekToSample(state, target)) return 1;
  // Play on from where playback was; if even that cannot be found, the stream ends.
  if (!SeekToSample(state, state->position)) state->ended = 1;
  return 0;
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  FlacStreamInfo stream;
  FlacReadMetadata(&source, &stream, &block->info);
  ByteSourceClose(&source);
}

uint32_t GetPosition(InputModule* module) {
  FlacState* state = State(module);
  if (!state->open || !state->format.sampleRate) return 0;
  return static_cast<uint32_t>(state->position / state->format.sampleRate);
}

}  // namespace

int FlacModuleSetUp(InputModule* module) {
  FlacState* state = new (std::nothrow) FlacState{};
  if (!state) return 0;
  InputModuleBind(module, state, L"*.FLAC", INPUT_MODULE_ROUTINES(GetInfo));
  return 1;
}
