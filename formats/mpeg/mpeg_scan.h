// Finding the MPEG audio stream inside a file: where it starts behind an
// ID3v2 tag and ends before an ID3v1 tag, what the first frame and its Xing
// header say, and a scan for three consistent frame headers that fixes the
// stream's parameters. Needs no decoder, so it serves Test as well.
#pragma once
#include <cstdint>

#include "base/byte_source.h"
#include "formats/mpeg/mpeg_frame_decoder.h"

constexpr uint32_t kMpegScanBlockBytes = 4323;  // three of the largest usual frames
constexpr uint32_t kMpegResyncBytes = 1441;     // the largest MPEG-1 Layer III frame
constexpr uint32_t kMpegScanRounds = 32;
constexpr uint32_t kXingTableBytes = 100;

constexpr uint32_t kMpegDecoderDelay = 529;   // samples the synthesis puts before the first sound
constexpr uint32_t kLameTagBytes = 36;        // the LAME extension behind the Xing fields

// The information frame that encoders put first: a Layer III frame without
// sound whose side information is followed by "Xing" (a variable bit rate)
// or "Info" (a constant one), and often by LAME's extension of it.
struct MpegXing {
  uint32_t present;      // non-zero when the first frame carries a Xing or Info header
  uint32_t info;         // non-zero for "Info"
  uint32_t flags;        // 0x1 frames, 0x2 bytes, 0x4 table, 0x8 quality
  uint32_t frames;       // frames of sound behind this one; 0 when absent
  uint32_t bytes;        // 0 when absent
  uint8_t table[kXingTableBytes];
  uint32_t lame;            // non-zero when the LAME extension records delay and padding
  uint32_t encoderDelay;    // samples before the sound, per channel
  uint32_t encoderPadding;  // samples behind it in the last frames, per channel
};

// What the first frame header, and the Xing header in it, say about the stream.
struct MpegFirstFrame {
  uint32_t version;          // 3 MPEG-1, 2 MPEG-2, 0 MPEG 2.5
  uint32_t layerCode;        // 1 Layer III, 2 Layer II, 3 Layer I
  uint32_t bitRate;          // bit/s, 0 for free format
  uint32_t sampleRate;       // Hz
  uint32_t channelMode;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  uint32_t frameLength;      // bytes with padding, 0 for free format
  uint32_t samplesPerFrame;  // per channel
  MpegXing xing;
  uint32_t averageBitRate;   // bit/s from the Xing counts, whole 1000s; 0 when none or "Info"
  // With a frame count: the frames of sound that are there (the count, or
  // its share of the bytes when the file is shorter than the header says).
  uint32_t soundFrames;
  uint32_t cut;              // non-zero when the file is shorter than the header says
  uint32_t lengthSeconds;    // of the sound alone; 0 when it cannot be told
};

// Non-zero when bytes (count of them) begin with a frame header. audioSize is
// the size of the whole stream, used for the length.
int MpegAnalyseFirstFrame(const uint8_t* bytes, uint32_t count, uint64_t audioSize, MpegFirstFrame* frame);

// Where the stream lies in its file.
struct MpegLayout {
  uint64_t fileSize;
  uint32_t streamSize;  // file size less an ID3v1 tag
  uint32_t dataStart;   // first byte behind the ID3v2 tag and its padding
  uint32_t audioSize;   // streamSize - dataStart, 0 when the tag covers everything
};

// Zero for files of 2 GiB or more.
int MpegLocateStream(ByteSource* source, MpegLayout* layout);
// Offset of the audio data behind an ID3v2 tag and any padding; 0 without a tag.
uint64_t MpegSkipId3v2(ByteSource* source, uint64_t fileSize);
// Finds the next candidate sync (0xFF then a byte with high nibble 0xF or
// 0xE) at or after from, before end. Non-zero with *offset set when found.
int MpegResync(ByteSource* source, uint32_t from, uint32_t end, uint32_t* offset);

// The stream's parameters: the scan's result and the totals derived from it.
struct MpegStreamFacts {
  MpegLayout layout;
  MpegHeader header;          // the last header the scan parsed
  uint32_t frameBytes;        // its size without padding; 0 when the last round found none
  int32_t frameBitRate;       // bit/s
  uint32_t consistent;        // non-zero when three consistent headers were found
  uint32_t lengthSeconds;     // from the first-frame analysis; 0 when unknown
  uint32_t variableBitRate;   // a Xing header with a frame count was found
  MpegXing xing;              // of the information frame, when there is one
  uint32_t audioStart;        // offset of the first frame with sound (behind the information frame)
  uint32_t samplesPerFrame;   // per channel
  uint32_t sampleRate;        // Hz
  uint32_t frameTotal;        // frames from audioStart: the Xing count, else reckoned from the size
  uint32_t cut;               // the file is shorter than its information frame says
  // Gapless playing: the sound is the decoded samples (per channel, counted
  // from the first sample of the frame at audioStart) from skipSamples on,
  // soundSamples of them. When trimmed the end is recorded; else the sound
  // runs to the end of the stream and soundSamples is reckoned from frameTotal.
  uint32_t skipSamples;       // LAME: encoder delay + kMpegDecoderDelay; else 0
  uint32_t trimmed;           // non-zero with LAME's padding and the whole of the counted frames
  uint64_t soundSamples;
};

// Locates the stream, scans it and computes the totals. Zero when the file
// cannot be played: too large, or no frame to count.
int MpegAnalyseStream(ByteSource* source, MpegStreamFacts* facts);
// Playing time of frames whole frames, rounded to the nearest second.
uint32_t MpegFramesToSeconds(uint64_t frames, uint32_t samplesPerFrame, uint32_t sampleRate);
