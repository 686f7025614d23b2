// Layer III hybrid filter bank: alias reduction; IMDCT of each subband's 18
// lines (one 36-point transform, or three 12-point ones for short blocks),
// windowing, overlap-add and frequency inversion. Four neighbouring subbands go through
// the same arithmetic at once, one per lane of a 4-float vector, so that the
// results land directly in the synthesis input (sample-major, 32 subbands).
//
// 36-point IMDCT: x[i] = sum_k X[k] cos(pi/72 (2i + 19)(2k + 1)) folds onto the
// 18-point DCT-IV y[m] = sum_k X[k] cos(pi/72 (2m + 1)(2k + 1)):
// x[i] = y[i+9] (i < 9), -y[26-i] (9 <= i < 27), -y[i-27] (i >= 27).
// The DCT-IV comes from a DCT-II u of X[k] 2cos((2k+1) pi/72), since
// u[m] = y[m] + y[m-1] with y[-1] = y[0]; the 18-point DCT-II splits into two
// 9-point DCT-IIs (sums, and differences scaled by 1 / (2cos((2k+1) pi/36)))
// and each 9-point one folds its inputs k and 8-k, whose cosines differ by
// the sign (-1)^m.
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

// Four lanes; may alias the float arrays it is laid over (16-byte aligned).
typedef float F4 __attribute__((vector_size(16), may_alias));

// Every constant held four times, as a vector, so that it multiplies the
// four lanes without a broadcast.
struct Tables {
  F4 pre[18];      // 2 cos((2k+1) pi / 72)
  F4 odd[9];       // 1 / (2 cos((2k+1) pi / 36))
  F4 c9[9][4];     // cos((2k+1) m pi / 18), k < 4
  F4 pre6[6];      // 2 cos((2k+1) pi / 24)
  F4 odd6[3];      // 1 / (2 cos((2k+1) pi / 12))
  F4 cos30, half;
  F4 window[4][36];
  F4 windowShort[12];
  float aliasCs[8], aliasCa[8];  // butterfly factors 1 / sqrt(1 + c^2), c / sqrt(1 + c^2)
  Tables() {
    for (int k = 0; k < 18; ++k) pre[k] = Splat(2.0 * std::cos((2 * k + 1) * kPi / 72.0));
    for (int k = 0; k < 9; ++k) odd[k] = Splat(0.5 / std::cos((2 * k + 1) * kPi / 36.0));
    for (int m = 0; m < 9; ++m)
      for (int k = 0; k < 4; ++k) c9[m][k] = Splat(std::cos((2 * k + 1) * m * kPi / 18.0));
    for (int k = 0; k < 6; ++k) pre6[k] = Splat(2.0 * std::cos((2 * k + 1) * kPi / 24.0));
    for (int k = 0; k < 3; ++k) odd6[k] = Splat(0.5 / std::cos((2 * k + 1) * kPi / 12.0));
    cos30 = Splat(std::cos(kPi / 6.0));
    half = Splat(0.5);
    for (int i = 0; i < 36; ++i) {
      double s36 = std::sin(kPi / 36.0 * (i + 0.5));
      window[0][i] = Splat(s36);
      // Start block.
      window[1][i] = Splat(i < 18 ? s36 : i < 24 ? 1.0 : i < 30 ? std::sin(kPi / 12.0 * (i - 18 + 0.5)) : 0.0);
      window[2][i] = Splat(0.0);
      // Stop block.
      window[3][i] = Splat(i < 6 ? 0.0 : i < 12 ? std::sin(kPi / 12.0 * (i - 6 + 0.5)) : i < 18 ? 1.0 : s36);
    }
    for (int i = 0; i < 12; ++i) windowShort[i] = Splat(std::sin(kPi / 12.0 * (i + 0.5)));
    const double c[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};
    for (int i = 0; i < 8; ++i) {
      double sq = std::sqrt(1.0 + c[i] * c[i]);
      aliasCs[i] = static_cast<float>(1.0 / sq);
      aliasCa[i] = static_cast<float>(c[i] / sq);
    }
  }
  static F4 Splat(double v) {
    float f = static_cast<float>(v);
    return F4{f, f, f, f};
  }
};

const Tables& T() {
  static const Tables t;
  return t;
}

// 9-point DCT-II, out[m] = sum_k in[k] cos((2k+1) m pi / 18).
inline void Dct9(const F4* in, F4* out, const Tables& t) {
  F4 p[4], q[4];
  for (int k = 0; k < 4; ++k) {
    p[k] = in[k] + in[8 - k];
    q[k] = in[k] - in[8 - k];
  }
  for (int m = 0; m < 9; m += 2) {
    F4 s = (m & 2) ? -in[4] : in[4];
    for (int k = 0; k < 4; ++k) s += p[k] * t.c9[m][k];
    out[m] = s;
  }
  for (int m = 1; m < 9; m += 2) {
    F4 s = q[0] * t.c9[m][0];
    for (int k = 1; k < 4; ++k) s += q[k] * t.c9[m][k];
    out[m] = s;
  }
}

// Long block: 36-point IMDCT, window, overlap-add.
// Output sample i goes to out[i * stride], multiplied by odd for odd i.
inline void LongBlock(const F4* X, const F4* win, F4* overlap, F4* out, int stride, F4 oddSign, const Tables& t) {
  F4 a[18], sum[9], diff[9], even[9], odd[10], y[18];
  for (int k = 0; k < 18; ++k) a[k] = X[k] * t.pre[k];
  for (int k = 0; k < 9; ++k) {
    sum[k] = a[k] + a[17 - k];
    diff[k] = (a[k] - a[17 - k]) * t.odd[k];
  }
  Dct9(sum, even, t);
  Dct9(diff, odd, t);
  odd[9] = F4{};
  // u[2m] = even[m], u[2m+1] = odd[m] + odd[m+1]; y[m] = u[m] - y[m-1].
  y[0] = even[0] * 0.5f;
  for (int m = 0; m < 9; ++m) {
    if (m > 0) y[2 * m] = even[m] - y[2 * m - 1];
    y[2 * m + 1] = odd[m] + odd[m + 1] - y[2 * m];
  }
  for (int i = 0; i < 9; ++i) {
    F4 lo = y[i + 9] * win[i] + overlap[i];
    F4 hi = overlap[9 + i] - y[17 - i] * win[9 + i];
    out[i * stride] = (i & 1) ? lo * oddSign : lo;
    out[(9 + i) * stride] = (i & 1) ? hi : hi * oddSign;
    overlap[i] = -y[8 - i] * win[18 + i];
    overlap[9 + i] = -y[i] * win[27 + i];
  }
}

// Short block: three 12-point IMDCTs (lines of window w at X[3k + w]),
// windowed and overlapped at 6 + 6w.
inline void ShortBlock(const F4* X, F4* overlap, F4* out, int stride, F4 oddSign, const Tables& t) {
  F4 z[36];
  for (int i = 0; i < 36; ++i) z[i] = F4{};
  for (int w = 0; w < 3; ++w) {
    // 6-point DCT-IV the same way as the 18-point one, with 3-point DCT-IIs
    // (out = x0 + x1 + x2, (x0 - x2) cos 30, (x0 + x2) / 2 - x1).
    F4 a[6], y[6];
    for (int k = 0; k < 6; ++k) a[k] = X[3 * k + w] * t.pre6[k];
    F4 s0 = a[0] + a[5], s1 = a[1] + a[4], s2 = a[2] + a[3];
    F4 d0 = (a[0] - a[5]) * t.odd6[0], d1 = (a[1] - a[4]) * t.odd6[1], d2 = (a[2] - a[3]) * t.odd6[2];
    F4 e0 = s0 + s1 + s2, e1 = (s0 - s2) * t.cos30, e2 = (s0 + s2) * t.half - s1;
    F4 g0 = d0 + d1 + d2, g1 = (d0 - d2) * t.cos30, g2 = (d0 + d2) * t.half - d1;
    y[0] = e0 * t.half;
    y[1] = g0 + g1 - y[0];
    y[2] = e1 - y[1];
    y[3] = g1 + g2 - y[2];
    y[4] = e2 - y[3];
    y[5] = g2 - y[4];
    // x[i] = y[i+3] (i < 3), -y[8-i] (3 <= i < 9), -y[i-9] (i >= 9).
    F4* zw = z + 6 + 6 * w;
    for (int i = 0; i < 3; ++i) {
      zw[i] += y[i + 3] * t.windowShort[i];
      zw[9 + i] -= y[i] * t.windowShort[9 + i];
    }
    for (int i = 3; i < 9; ++i) zw[i] -= y[8 - i] * t.windowShort[i];
  }
  for (int i = 0; i < 18; ++i) {
    F4 v = z[i] + overlap[i];
    out[i * stride] = (i & 1) ? v * oddSign : v;
    overlap[i] = z[18 + i];
  }
}

// X[k] = the k-th line of the four subbands from r (18 lines apart).
inline void Gather(const float* r, F4* X) {
#if defined(__SSE2__)
  for (int k = 0; k < 16; k += 4) {
    __m128 a = _mm_loadu_ps(r + k), b = _mm_loadu_ps(r + 18 + k);
    __m128 c = _mm_loadu_ps(r + 36 + k), d = _mm_loadu_ps(r + 54 + k);
    _MM_TRANSPOSE4_PS(a, b, c, d);
    X[k] = a;
    X[k + 1] = b;
    X[k + 2] = c;
    X[k + 3] = d;
  }
  for (int k = 16; k < 18; ++k) X[k] = F4{r[k], r[18 + k], r[36 + k], r[54 + k]};
#else
  for (int k = 0; k < 18; ++k) X[k] = F4{r[k], r[18 + k], r[36 + k], r[54 + k]};
#endif
}

}  // namespace

// Butterflies across each subband boundary: line 17 - i of the lower
// subband with line i of the upper one, i < 8.
void Layer3AliasReduce(float* xr, int subbands) {
  const Tables& t = T();
#if defined(__SSE2__)
  const __m128 cs0 = _mm_loadu_ps(t.aliasCs), cs1 = _mm_loadu_ps(t.aliasCs + 4);
  const __m128 ca0 = _mm_loadu_ps(t.aliasCa), ca1 = _mm_loadu_ps(t.aliasCa + 4);
  for (int sb = 1; sb < subbands; ++sb) {
    float* a = xr + 18 * sb;
    __m128 u0 = _mm_shuffle_ps(_mm_loadu_ps(a - 4), _mm_loadu_ps(a - 4), _MM_SHUFFLE(0, 1, 2, 3));
    __m128 u1 = _mm_shuffle_ps(_mm_loadu_ps(a - 8), _mm_loadu_ps(a - 8), _MM_SHUFFLE(0, 1, 2, 3));
    __m128 d0 = _mm_loadu_ps(a), d1 = _mm_loadu_ps(a + 4);
    __m128 nu0 = _mm_sub_ps(_mm_mul_ps(u0, cs0), _mm_mul_ps(d0, ca0));
    __m128 nu1 = _mm_sub_ps(_mm_mul_ps(u1, cs1), _mm_mul_ps(d1, ca1));
    _mm_storeu_ps(a, _mm_add_ps(_mm_mul_ps(d0, cs0), _mm_mul_ps(u0, ca0)));
    _mm_storeu_ps(a + 4, _mm_add_ps(_mm_mul_ps(d1, cs1), _mm_mul_ps(u1, ca1)));
    _mm_storeu_ps(a - 4, _mm_shuffle_ps(nu0, nu0, _MM_SHUFFLE(0, 1, 2, 3)));
    _mm_storeu_ps(a - 8, _mm_shuffle_ps(nu1, nu1, _MM_SHUFFLE(0, 1, 2, 3)));
  }
#else
  for (int sb = 1; sb < subbands; ++sb) {
    float* a = xr + 18 * sb;
    for (int i = 0; i < 8; ++i) {
      float bu = a[-1 - i], bd = a[i];
      a[-1 - i] = bu * t.aliasCs[i] - bd * t.aliasCa[i];
      a[i] = bd * t.aliasCs[i] + bu * t.aliasCa[i];
    }
  }
#endif
}

void Layer3Imdct(const float* xr, int blockType, int mixed, int subbands, Layer3Channel* st, float (*samples)[32]) {
  const Tables& t = T();
  // Frequency inversion: odd samples of odd subbands change sign.
  const F4 invert = {1.0f, -1.0f, 1.0f, -1.0f};
  const F4 ones = {1.0f, 1.0f, 1.0f, 1.0f};
  for (int g = 0; g < 8; ++g) {
    F4* ov = reinterpret_cast<F4*>(st->overlap[g]);
    F4* out = reinterpret_cast<F4*>(&samples[0][4 * g]);  // 8 vectors per sample
    if (4 * g >= subbands) {
      // No data: the output is the overlap alone.
      for (int i = 0; i < 18; ++i) {
        out[8 * i] = (i & 1) ? ov[i] * invert : ov[i];
        ov[i] = F4{};
      }
      continue;
    }
    F4 X[18];
    Gather(xr + 72 * g, X);
    if (mixed && g == 0 && blockType != 0) {
      // Mixed block: subbands 0 and 1 are plain long blocks.
      F4 ovLow[18], outLow[18], outHigh[18];
      std::memcpy(ovLow, ov, sizeof(ovLow));
      LongBlock(X, t.window[0], ovLow, outLow, 1, ones, t);
      if (blockType != 2) LongBlock(X, t.window[blockType], ov, outHigh, 1, ones, t);
      else ShortBlock(X, ov, outHigh, 1, ones, t);
      for (int i = 0; i < 18; ++i) {
        F4 v = {outLow[i][0], outLow[i][1], outHigh[i][2], outHigh[i][3]};
        out[8 * i] = (i & 1) ? v * invert : v;
        ov[i] = F4{ovLow[i][0], ovLow[i][1], ov[i][2], ov[i][3]};
      }
    } else if (blockType != 2) {
      LongBlock(X, t.window[blockType], ov, out, 8, invert, t);
    } else {
      ShortBlock(X, ov, out, 8, invert, t);
    }
  }
}

}  // namespace mpeg
