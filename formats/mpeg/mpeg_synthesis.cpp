// Polyphase synthesis filter bank of ISO/IEC 11172-3 (2.4.3.2.2 / Annex A
// figure A.2), single precision. The matrixing V = N S uses the symmetry of
// N: with A[j] = sum_k cos((2k+1) j pi / 64) S[k] (a 32-point DCT-II,
// computed by recursive halving in about 80 multiplications),
// V[i] = A[i+16] for i < 16, V[16] = 0, V[i] = -A[48-i] for 17 <= i < 48 and
// V[i] = -A[i-48] for i >= 48. The window loop takes sixteen taps per output
// from a window table rearranged in the order the loop reads it.
// The window D is the standard's table B.3 (mpeg_synthesis_window.cpp).
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

int gSynthWide = 1;  // SynthAllowWideVectors

struct Tables {
  // Window rearranged for the output loop: for block i (0..7), 32 values for
  // V[128i + j] and 32 for V[128i + 96 + j]; scaled to 16-bit full scale.
  alignas(32) float d[8][2][32];
  // Factors 1 / (2 cos((2k+1) pi / 2n)) of the odd half of an n-point DCT,
  // for n = 32, 16, 8, 4, 2 at [n/2 + k].
  alignas(16) float lee[32];
  int avx;  // the processor and the system run AVX instructions
  Tables() {
#if defined(__SSE2__)
    __builtin_cpu_init();
    avx = __builtin_cpu_supports("avx");
#else
    avx = 0;
#endif
    for (int i = 0; i < 512; ++i) {
      int k = i <= 256 ? i : 512 - i;
      double v = kSynthWindowUnits[k] / 65536.0 * (((i / 64) & 1) ? -1.0 : 1.0) * 32768.0;
      int block = i / 64, part = (i % 64) / 32, j = i % 32;
      d[block][part][j] = static_cast<float>(v);
    }
    lee[0] = 0.0f;
    for (int n = 2; n <= 32; n *= 2)
      for (int k = 0; k < n / 2; ++k)
        lee[n / 2 + k] = static_cast<float>(0.5 / std::cos((2 * k + 1) * kPi / (2.0 * n)));
  }
};

const Tables& T() {
  static const Tables t;
  return t;
}

// Unnormalised n-point DCT-II, out[m] = sum_k in[k] cos((2k+1) m pi / 2n),
// by halving: the even outputs are the DCT of in[k] + in[n-1-k]; with
// h[k] = (in[k] - in[n-1-k]) / (2 cos((2k+1) pi / 2n)) and G its DCT,
// out[2m+1] = G[m] + G[m+1] (G[n/2] = 0), from
// cos((2k+1)(2m+1)t) 2 cos((2k+1)t) = cos((2k+1)2mt) + cos((2k+1)(2m+2)t).
template <int n>
inline void Dct2(const float* in, float* out, const float* lee) {
  if constexpr (n == 1) {
    out[0] = in[0];
  } else {
    constexpr int h = n / 2;
    float sum[h], diff[h], even[h], odd[h];
    for (int k = 0; k < h; ++k) {
      sum[k] = in[k] + in[n - 1 - k];
      diff[k] = (in[k] - in[n - 1 - k]) * lee[h + k];
    }
    Dct2<h>(sum, even, lee);
    Dct2<h>(diff, odd, lee);
    for (int m = 0; m + 1 < h; ++m) {
      out[2 * m] = even[m];
      out[2 * m + 1] = odd[m] + odd[m + 1];
    }
    out[n - 2] = even[h - 1];
    out[n - 1] = odd[h - 1];
  }
}

#if defined(__SSE2__)
inline __m128 Reverse(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(0, 1, 2, 3)); }

// One halving step on n = 4 * count values in count vectors: sums of
// in[k] + in[n-1-k] to sum, scaled differences to diff (count / 2 each).
inline void Split(const __m128* in, int count, const float* lee, __m128* sum, __m128* diff) {
  for (int j = 0; j < count / 2; ++j) {
    __m128 a = in[j], b = Reverse(in[count - 1 - j]);
    sum[j] = _mm_add_ps(a, b);
    diff[j] = _mm_mul_ps(_mm_sub_ps(a, b), _mm_load_ps(lee + 4 * j));
  }
}

// The inverse step: out[2m] = even[m], out[2m+1] = odd[m] + odd[m+1]
// (odd[n/2] = 0), for count vectors of each half.
inline void Merge(const __m128* even, const __m128* odd, int count, __m128* out) {
  for (int j = 0; j < count; ++j) {
    __m128 o = odd[j], next;
    if (j + 1 < count) {
      // (o1, o2, o3, first of the next vector)
      __m128 t = _mm_shuffle_ps(o, odd[j + 1], _MM_SHUFFLE(0, 0, 3, 3));
      next = _mm_shuffle_ps(o, t, _MM_SHUFFLE(2, 0, 2, 1));
    } else {
      next = _mm_castsi128_ps(_mm_srli_si128(_mm_castps_si128(o), 4));
    }
    __m128 sum = _mm_add_ps(o, next);
    out[2 * j] = _mm_unpacklo_ps(even[j], sum);
    out[2 * j + 1] = _mm_unpackhi_ps(even[j], sum);
  }
}

// (hi[0], lo[3], lo[2], lo[1]): four values of a descending run across two vectors.
inline __m128 Descending(__m128 hi, __m128 lo) {
  __m128 t = _mm_shuffle_ps(hi, lo, _MM_SHUFFLE(3, 3, 0, 0));
  return _mm_shuffle_ps(t, lo, _MM_SHUFFLE(1, 2, 2, 0));
}

// 32-point DCT-II with four floats per step: three halving steps leave eight
// 4-point DCTs, done side by side after a transpose.
void Dct32(const float* in, __m128* out, const float* lee) {
  __m128 x[8], s[4], d[4], q[8], p[8];
  for (int j = 0; j < 8; ++j) x[j] = _mm_loadu_ps(in + 4 * j);
  Split(x, 8, lee + 16, s, d);
  Split(s, 4, lee + 8, q, q + 2);
  Split(d, 4, lee + 8, q + 4, q + 6);
  // Four 8-point inputs (q[2b], q[2b+1]) -> eight 4-point inputs p.
  for (int b = 0; b < 4; ++b) Split(q + 2 * b, 2, lee + 4, p + 2 * b, p + 2 * b + 1);
  const __m128 c0 = _mm_set1_ps(lee[2]), c1 = _mm_set1_ps(lee[3]), c2 = _mm_set1_ps(lee[1]);
  for (int g = 0; g < 8; g += 4) {
    __m128 x0 = p[g], x1 = p[g + 1], x2 = p[g + 2], x3 = p[g + 3];
    _MM_TRANSPOSE4_PS(x0, x1, x2, x3);
    __m128 a0 = _mm_add_ps(x0, x3), a1 = _mm_add_ps(x1, x2);
    __m128 b0 = _mm_mul_ps(_mm_sub_ps(x0, x3), c0), b1 = _mm_mul_ps(_mm_sub_ps(x1, x2), c1);
    __m128 g1 = _mm_mul_ps(_mm_sub_ps(b0, b1), c2);
    x0 = _mm_add_ps(a0, a1);
    x1 = _mm_add_ps(_mm_add_ps(b0, b1), g1);
    x2 = _mm_mul_ps(_mm_sub_ps(a0, a1), c2);
    x3 = g1;
    _MM_TRANSPOSE4_PS(x0, x1, x2, x3);
    p[g] = x0;
    p[g + 1] = x1;
    p[g + 2] = x2;
    p[g + 3] = x3;
  }
  for (int b = 0; b < 4; ++b) Merge(p + 2 * b, p + 2 * b + 1, 1, q + 2 * b);
  Merge(q, q + 2, 2, s);
  Merge(q + 4, q + 6, 2, d);
  Merge(s, d, 4, out);
}
#endif

#if defined(__SSE2__)
// The window loop eight lanes wide where AVX is there; the same arithmetic
// per lane as below, so the same results.
__attribute__((target("avx"))) void WindowAvx(const float* v0, const Tables& t, int16_t* pcm) {
  __m256 acc[4];
  // The newest V values were just stored four at a time: reading them back
  // in halves lets the loads take them from the stores.
  for (int g = 0; g < 4; ++g) {
    __m256 low = _mm256_castps128_ps256(_mm_load_ps(v0 + 8 * g));
    __m256 fresh = _mm256_insertf128_ps(low, _mm_load_ps(v0 + 8 * g + 4), 1);
    __m256 a = _mm256_mul_ps(_mm256_load_ps(t.d[0][0] + 8 * g), fresh);
    __m256 b = _mm256_mul_ps(_mm256_load_ps(t.d[0][1] + 8 * g), _mm256_loadu_ps(v0 + 96 + 8 * g));
    acc[g] = _mm256_add_ps(a, b);
  }
  for (int i = 1; i < 8; ++i) {
    const float* va = v0 + 128 * i;
    const float* vb = va + 96;
    const float* da = t.d[i][0];
    const float* db = t.d[i][1];
    for (int g = 0; g < 4; ++g) {
      __m256 a = _mm256_mul_ps(_mm256_load_ps(da + 8 * g), _mm256_loadu_ps(va + 8 * g));
      __m256 b = _mm256_mul_ps(_mm256_load_ps(db + 8 * g), _mm256_loadu_ps(vb + 8 * g));
      acc[g] = _mm256_add_ps(acc[g], _mm256_add_ps(a, b));
    }
  }
  const __m256 hi = _mm256_set1_ps(32767.0f), lo = _mm256_set1_ps(-32768.0f);
  for (int g = 0; g < 4; ++g) {
    __m256i x = _mm256_cvttps_epi32(_mm256_max_ps(_mm256_min_ps(acc[g], hi), lo));
    __m128i packed = _mm_packs_epi32(_mm256_castsi256_si128(x), _mm256_extractf128_si256(x, 1));
    _mm_store_si128(reinterpret_cast<__m128i*>(pcm + 8 * g), packed);
  }
}
#endif

// Window: out[j] = sum_i D[64i+j] V[128i+j] + D[64i+32+j] V[128i+96+j],
// sixteen taps per output; then clamped and truncated toward zero.
void Window(const float* v0, const Tables& t, int16_t* pcm) {
#if defined(__SSE2__)
  if (t.avx && gSynthWide) {
    WindowAvx(v0, t, pcm);
    return;
  }
  __m128 acc[8];
  for (int g = 0; g < 8; ++g) acc[g] = _mm_setzero_ps();
  for (int i = 0; i < 8; ++i) {
    const float* va = v0 + 128 * i;
    const float* vb = va + 96;
    const float* da = t.d[i][0];
    const float* db = t.d[i][1];
#pragma GCC unroll 8
    for (int g = 0; g < 8; ++g) {
      __m128 a = _mm_mul_ps(_mm_load_ps(da + 4 * g), _mm_load_ps(va + 4 * g));
      __m128 b = _mm_mul_ps(_mm_load_ps(db + 4 * g), _mm_load_ps(vb + 4 * g));
      acc[g] = _mm_add_ps(acc[g], _mm_add_ps(a, b));
    }
  }
  // Clamping first keeps large values (and NaN) away from the conversion.
  const __m128 hi = _mm_set1_ps(32767.0f), lo = _mm_set1_ps(-32768.0f);
  for (int q = 0; q < 4; ++q) {
    __m128i x0 = _mm_cvttps_epi32(_mm_max_ps(_mm_min_ps(acc[2 * q], hi), lo));
    __m128i x1 = _mm_cvttps_epi32(_mm_max_ps(_mm_min_ps(acc[2 * q + 1], hi), lo));
    _mm_store_si128(reinterpret_cast<__m128i*>(pcm + 8 * q), _mm_packs_epi32(x0, x1));
  }
#else
  float acc[32];
  for (int j = 0; j < 32; ++j) acc[j] = 0.0f;
  for (int i = 0; i < 8; ++i) {
    const float* va = v0 + 128 * i;
    const float* vb = va + 96;
    const float* da = t.d[i][0];
    const float* db = t.d[i][1];
    for (int j = 0; j < 32; ++j) acc[j] += da[j] * va[j] + db[j] * vb[j];
  }
  for (int j = 0; j < 32; ++j) {
    float x = acc[j];
    x = x > 32767.0f ? 32767.0f : x;
    x = x < -32768.0f ? -32768.0f : x;
    pcm[j] = static_cast<int16_t>(static_cast<int32_t>(x));
  }
#endif
}

}  // namespace

void SynthMatrix(const float* S, float* v0, float* v1) {
  const Tables& t = T();
#if defined(__SSE2__)
  // A in eight vectors, V built from them in registers (a store and an
  // unaligned reload would stall).
  __m128 a[8];
  Dct32(S, a, t.lee);
  const __m128 sign = _mm_set1_ps(-0.0f);
  __m128 v[16];
  for (int q = 0; q < 4; ++q) {
    v[q] = a[4 + q];                               // A[16..31]
    v[12 + q] = _mm_xor_ps(a[q], sign);            // -A[0..15]
    v[8 + q] = _mm_xor_ps(Descending(a[4 - q], a[3 - q]), sign);  // -A[16-j]
  }
  // -A[32-j], A[32] = 0.
  v[4] = _mm_xor_ps(Descending(_mm_setzero_ps(), a[7]), sign);
  for (int q = 1; q < 4; ++q) v[4 + q] = _mm_xor_ps(Descending(a[8 - q], a[7 - q]), sign);
  for (int q = 0; q < 16; ++q) {
    _mm_store_ps(v0 + 4 * q, v[q]);
    _mm_store_ps(v1 + 4 * q, v[q]);
  }
#else
  float A[33];
  Dct2<32>(S, A, t.lee);
  A[32] = 0.0f;
  for (int i = 0; i < 16; ++i) v0[i] = v1[i] = A[i + 16];
  for (int i = 16; i < 48; ++i) v0[i] = v1[i] = -A[48 - i];
  for (int i = 48; i < 64; ++i) v0[i] = v1[i] = -A[i - 48];
#endif
}

namespace {

// Matrixing into the V FIFO, then windowing into 32 values at pcm (16-byte aligned).
void SynthToPcm(SynthState* s, const float* S, int16_t* pcm) {
  // New V at the front of the FIFO: V occupies v[pos .. pos+1023] in a
  // buffer that holds each value twice (pos and pos + 1024 ... wrapped).
  s->pos = (s->pos - 64) & 1023;
  float* v0 = s->v + s->pos;
  SynthMatrix(S, v0, v0 + 1024);
  Window(v0, T(), pcm);
}

}  // namespace

void SynthAllowWideVectors(int allow) { gSynthWide = allow; }

void SynthReset(SynthState* s) {
  std::memset(s->v, 0, sizeof(s->v));
  s->pos = 0;
}

void SynthBlock(SynthState* s, const float* S, int16_t* out, int stride) {
  alignas(16) int16_t pcm[32];
  SynthToPcm(s, S, pcm);
  for (int j = 0; j < 32; ++j) out[j * stride] = pcm[j];
}

void SynthBlockStereo(SynthState* s, const float* left, const float* right, int16_t* out) {
  alignas(16) int16_t pcm[2][32];
  SynthToPcm(&s[0], left, pcm[0]);
  SynthToPcm(&s[1], right, pcm[1]);
#if defined(__SSE2__)
  for (int q = 0; q < 4; ++q) {
    __m128i l = _mm_load_si128(reinterpret_cast<const __m128i*>(pcm[0] + 8 * q));
    __m128i r = _mm_load_si128(reinterpret_cast<const __m128i*>(pcm[1] + 8 * q));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * q), _mm_unpacklo_epi16(l, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * q + 8), _mm_unpackhi_epi16(l, r));
  }
#else
  for (int j = 0; j < 32; ++j) {
    out[2 * j] = pcm[0][j];
    out[2 * j + 1] = pcm[1][j];
  }
#endif
}

}  // namespace mpeg
