// Smoke test for the static third-party builds: each library links into a
// Windows program and decodes a real file. Usage: deps_link_test FIXTURE_DIR
// (the folder made by tests/deps/make-fixtures.sh).
#include <gtest/gtest.h>

#include <FLAC/stream_decoder.h>
#include <vorbis/vorbisfile.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr long kRate = 44100;
constexpr int kChannels = 2;
constexpr std::int64_t kFrames = 44100;  // the fixtures are one second long

std::string g_dir;

// Wine maps the Unix root to drive Z:, so /tmp/x is reachable as Z:\tmp\x.
std::string ToWindowsPath(std::string p) {
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p) c = (c == '/') ? '\\' : c;
  while (p.size() > 3 && p.back() == '\\') p.pop_back();
  return p;
}

std::string Fixture(const char* name) { return g_dir + "\\" + name; }

TEST(DepsLink, VorbisFileDecodes) {
  std::FILE* f = std::fopen(Fixture("sine.ogg").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  // Own callbacks, as the player will use, rather than the header's inline defaults.
  ov_callbacks cb{};
  cb.read_func = [](void* p, size_t s, size_t n, void* ds) {
    return std::fread(p, s, n, static_cast<std::FILE*>(ds));
  };
  cb.seek_func = [](void* ds, ogg_int64_t off, int whence) {
    return _fseeki64(static_cast<std::FILE*>(ds), off, whence);
  };
  cb.close_func = [](void* ds) { return std::fclose(static_cast<std::FILE*>(ds)); };
  cb.tell_func = [](void* ds) { return static_cast<long>(_ftelli64(static_cast<std::FILE*>(ds))); };

  OggVorbis_File vf;
  ASSERT_EQ(ov_open_callbacks(f, &vf, nullptr, 0, cb), 0);
  vorbis_info* vi = ov_info(&vf, -1);
  ASSERT_NE(vi, nullptr);
  EXPECT_EQ(vi->rate, kRate);
  EXPECT_EQ(vi->channels, kChannels);
  EXPECT_EQ(ov_pcm_total(&vf, -1), kFrames);

  char buf[4096];
  std::int64_t bytes = 0;
  int peak = 0, section = 0;
  for (long n; (n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) != 0;) {
    ASSERT_GT(n, 0) << "ov_read error";
    const auto* s = reinterpret_cast<const std::int16_t*>(buf);
    for (long i = 0; i < n / 2; ++i) peak = std::max(peak, std::abs(int{s[i]}));
    bytes += n;
  }
  EXPECT_EQ(bytes, kFrames * kChannels * 2);
  EXPECT_GT(peak, 1000) << "decoded audio is silent";
  ov_clear(&vf);  // closes f through close_func
}

struct FlacState {
  std::int64_t frames = 0;
  unsigned rate = 0, channels = 0, bits = 0;
  std::int64_t total = 0;
  bool error = false;
};

TEST(DepsLink, FlacDecodes) {
  FLAC__StreamDecoder* dec = FLAC__stream_decoder_new();
  ASSERT_NE(dec, nullptr);
  FlacState st;
  auto write = [](const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const[],
                  void* cd) {
    static_cast<FlacState*>(cd)->frames += frame->header.blocksize;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  };
  auto meta = [](const FLAC__StreamDecoder*, const FLAC__StreamMetadata* m, void* cd) {
    if (m->type != FLAC__METADATA_TYPE_STREAMINFO) return;
    auto* s = static_cast<FlacState*>(cd);
    s->rate = m->data.stream_info.sample_rate;
    s->channels = m->data.stream_info.channels;
    s->bits = m->data.stream_info.bits_per_sample;
    s->total = static_cast<std::int64_t>(m->data.stream_info.total_samples);
  };
  auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* cd) {
    static_cast<FlacState*>(cd)->error = true;
  };
  ASSERT_EQ(FLAC__stream_decoder_init_file(dec, Fixture("sine.flac").c_str(), write, meta, error, &st),
            FLAC__STREAM_DECODER_INIT_STATUS_OK);
  EXPECT_TRUE(FLAC__stream_decoder_process_until_end_of_stream(dec));
  EXPECT_FALSE(st.error);
  EXPECT_EQ(st.rate, static_cast<unsigned>(kRate));
  EXPECT_EQ(st.channels, static_cast<unsigned>(kChannels));
  EXPECT_EQ(st.bits, 16u);
  EXPECT_EQ(st.total, kFrames);
  EXPECT_EQ(st.frames, kFrames);
  FLAC__stream_decoder_delete(dec);
}

TEST(DepsLink, FfmpegDecodesWma) {
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* fmt = nullptr;
  ASSERT_EQ(avformat_open_input(&fmt, Fixture("sine.wma").c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(fmt, nullptr), 0);
  const int idx = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  ASSERT_GE(idx, 0);
  const AVCodecParameters* par = fmt->streams[idx]->codecpar;
  EXPECT_EQ(par->codec_id, AV_CODEC_ID_WMAV2);
  const AVCodec* codec = avcodec_find_decoder(par->codec_id);
  ASSERT_NE(codec, nullptr);
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  ASSERT_NE(ctx, nullptr);
  ASSERT_GE(avcodec_parameters_to_context(ctx, par), 0);
  ASSERT_EQ(avcodec_open2(ctx, codec, nullptr), 0);

  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  int decoded = 0;
  while (decoded < 4 && av_read_frame(fmt, pkt) >= 0) {
    if (pkt->stream_index == idx && avcodec_send_packet(ctx, pkt) >= 0) {
      while (avcodec_receive_frame(ctx, frame) == 0) {
        EXPECT_EQ(frame->sample_rate, kRate);
        EXPECT_EQ(frame->ch_layout.nb_channels, kChannels);
        EXPECT_GT(frame->nb_samples, 0);
        ++decoded;
      }
    }
    av_packet_unref(pkt);
  }
  EXPECT_GT(decoded, 0);
  av_frame_free(&frame);
  av_packet_free(&pkt);
  avcodec_free_context(&ctx);
  avformat_close_input(&fmt);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s [gtest flags] FIXTURE_DIR\n", argv[0]);
    return 2;
  }
  g_dir = ToWindowsPath(argv[1]);
  return RUN_ALL_TESTS();
}
