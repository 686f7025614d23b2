#include "synthesis_window_fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "formats/mpeg/mpeg_internal.h"
#include "whole_stream_decode.h"

// ---- Recording stand-in for the synthesis ----
// The decoder hands each block of 32 subband samples to these; they keep
// the samples per channel and write silence.
namespace {
std::vector<float> gSubbands[2];
const mpeg::SynthState* gLastReset = nullptr;
}  // namespace

namespace mpeg {

// The decoder resets its two states in order: pos remembers which one it is.
void SynthReset(SynthState* s) {
  s->pos = (gLastReset && s == gLastReset + 1) ? 1 : 0;
  gLastReset = s;
}

void SynthBlock(SynthState* s, const float* subbands, int16_t* out, int stride) {
  gSubbands[s->pos].insert(gSubbands[s->pos].end(), subbands, subbands + 32);
  for (int j = 0; j < 32; ++j) out[j * stride] = 0;
}

void SynthBlockStereo(SynthState*, const float* left, const float* right, int16_t* out) {
  gSubbands[0].insert(gSubbands[0].end(), left, left + 32);
  gSubbands[1].insert(gSubbands[1].end(), right, right + 32);
  std::memset(out, 0, 64 * sizeof(int16_t));
}

void SynthAllowWideVectors(int) {}

}  // namespace mpeg

namespace {

constexpr int kTaps = 16;  // window values per output value
// Per output position j: the taps plus a constant and a sign-dependent
// offset, which absorb how the reference turned its values into integers.
constexpr int kUnknowns = kTaps + 2;
// The decoder's subband samples are single precision: the exact window
// reproduces a reference value to within its rounding and this much more.
constexpr double kSlack = 0.02;

struct Normal {
  double a[kUnknowns][kUnknowns];  // upper triangle
  double b[kUnknowns];
  double yy;  // sum of the squared reference values
};

struct Channel {
  std::vector<float> subbands;  // blocks of 32
  const std::vector<uint8_t>* ref;
  int c, channels;
};

// Output value j of a block reads window value TapIndex(j, i) against FIFO
// value FifoIndex(j, i): U[64m + j] = V[128m + j], U[64m + 32 + j] = V[128m + 96 + j].
int TapIndex(int j, int i) { return 64 * (i / 2) + 32 * (i % 2) + j; }
int FifoIndex(int j, int i) { return 128 * (i / 2) + 96 * (i % 2) + j; }

// The matrixing of the standard in double precision: V[i] = sum_k N[i][k] S[k],
// N[i][k] = cos((16 + i)(2k + 1) pi / 64).
const double (*Matrix())[32] {
  static double n[64][32];
  static bool ready = false;
  if (!ready) {
    for (int i = 0; i < 64; ++i)
      for (int k = 0; k < 32; ++k) n[i][k] = std::cos((16 + i) * (2 * k + 1) * mpeg::kPi / 64.0);
    ready = true;
  }
  return n;
}

// Calls visit(j, taps, reference) for every unclipped reference value of a
// channel, taps[i] being what window value TapIndex(j, i) multiplies, in LSB.
template <typename Visit>
void ForEachValue(const Channel& ch, Visit visit) {
  const double (*n)[32] = Matrix();
  std::vector<double> fifo(1024, 0.0);
  const std::vector<uint8_t>& ref = *ch.ref;
  size_t blocks = ch.subbands.size() / 32;
  for (size_t blk = 0; blk < blocks; ++blk) {
    std::memmove(fifo.data() + 64, fifo.data(), (1024 - 64) * sizeof(double));
    const float* s = ch.subbands.data() + blk * 32;
    for (int i = 0; i < 64; ++i) {
      double v = 0;
      for (int k = 0; k < 32; ++k) v += n[i][k] * s[k];
      fifo[i] = v;
    }
    for (int j = 0; j < 32; ++j) {
      size_t at = ((blk * 32 + j) * ch.channels + ch.c) * 2;
      if (at + 2 > ref.size()) return;
      int r = static_cast<int16_t>(ref[at] | (ref[at + 1] << 8));
      if (r >= 32767 || r <= -32768) continue;  // clipped: not linear
      double taps[kTaps];
      for (int i = 0; i < kTaps; ++i) taps[i] = fifo[FifoIndex(j, i)] * 32768.0;
      visit(j, taps, r);
    }
  }
}

void Accumulate(Normal* normal, int j, const double* taps, int r) {
  double x[kUnknowns];
  std::memcpy(x, taps, sizeof(double) * kTaps);
  x[kTaps] = 1.0;
  x[kTaps + 1] = r > 0 ? 1.0 : (r < 0 ? -1.0 : 0.0);
  Normal& e = normal[j];
  e.yy += static_cast<double>(r) * r;
  for (int p = 0; p < kUnknowns; ++p) {
    e.b[p] += x[p] * r;
    for (int q = p; q < kUnknowns; ++q) e.a[p][q] += x[p] * x[q];
  }
}

// Solves A x = b (A symmetric, upper triangle filled) by Gauss-Jordan
// elimination with partial pivoting. Columns that the data never excite (V[16]
// is zero by construction) are left out: their value is 0 and their variance
// unbounded. inverseDiagonal gets the diagonal of A^-1.
bool Solve(const Normal& normal, double* x, double* inverseDiagonal) {
  double a[kUnknowns][kUnknowns], rhs[kUnknowns][kUnknowns + 1];
  double largest = 0;
  for (int p = 0; p < kUnknowns; ++p) largest = std::fmax(largest, normal.a[p][p]);
  bool dead[kUnknowns];
  for (int p = 0; p < kUnknowns; ++p) dead[p] = normal.a[p][p] <= largest * 1e-20;
  for (int p = 0; p < kUnknowns; ++p) {
    for (int q = 0; q < kUnknowns; ++q) {
      double v = p <= q ? normal.a[p][q] : normal.a[q][p];
      a[p][q] = (dead[p] || dead[q]) ? (p == q ? 1.0 : 0.0) : v;
      rhs[p][q] = p == q ? 1.0 : 0.0;
    }
    rhs[p][kUnknowns] = dead[p] ? 0.0 : normal.b[p];
  }
  for (int col = 0; col < kUnknowns; ++col) {
    int pivot = col;
    for (int r = col + 1; r < kUnknowns; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (a[pivot][col] == 0) return false;
    if (pivot != col) {
      for (int q = 0; q < kUnknowns; ++q) std::swap(a[col][q], a[pivot][q]);
      for (int q = 0; q <= kUnknowns; ++q) std::swap(rhs[col][q], rhs[pivot][q]);
    }
    for (int r = 0; r < kUnknowns; ++r) {
      if (r == col) continue;
      double f = a[r][col] / a[col][col];
      for (int q = col; q < kUnknowns; ++q) a[r][q] -= f * a[col][q];
      for (int q = 0; q <= kUnknowns; ++q) rhs[r][q] -= f * rhs[col][q];
    }
  }
  for (int r = 0; r < kUnknowns; ++r) {
    x[r] = rhs[r][kUnknowns] / a[r][r];
    inverseDiagonal[r] = dead[r] ? HUGE_VAL : rhs[r][r] / a[r][r];
  }
  return true;
}

// The sign with which window value i holds w[min(i, 512 - i)], and that index.
int UnitOf(int i) { return i <= 256 ? i : 512 - i; }
double SignOf(int i) { return ((i / 64) & 1) ? -1.0 : 1.0; }

const char* const kStreams[] = {"l1-fl1", "l1-fl2", "l1-fl3",  "l1-fl4",  "l1-fl5",  "l1-fl6",  "l1-fl7", "l1-fl8",
                                "l2-fl10", "l2-fl11", "l2-fl12", "l2-fl13", "l2-fl14", "l2-fl15", "l2-fl16"};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Decodes the streams with the recording synthesis, at full bandwidth.
int ReadStreams(const std::string& folder, std::vector<std::vector<uint8_t>>* refs, std::vector<Channel>* channels) {
  refs->reserve(std::size(kStreams));
  int streams = 0;
  for (const char* name : kStreams) {
    std::vector<uint8_t> bits = ReadFile(folder + "/" + name + ".bit");
    std::vector<uint8_t> ref = ReadFile(folder + "/" + name + ".pcm");
    if (bits.empty() || ref.empty()) continue;
    gSubbands[0].clear();
    gSubbands[1].clear();
    gLastReset = nullptr;
    DecodedStream decoded = DecodeWholeStream(bits, 32);
    if (decoded.channels < 1) continue;
    refs->push_back(std::move(ref));
    for (int c = 0; c < decoded.channels; ++c)
      channels->push_back(Channel{std::move(gSubbands[c]), &refs->back(), c, decoded.channels});
    ++streams;
  }
  return streams;
}

// The least-squares window and the variance of each value.
bool LeastSquares(const std::vector<Channel>& channels, WindowFit* fit) {
  static Normal normal[32];
  std::memset(normal, 0, sizeof(normal));
  for (const Channel& ch : channels)
    ForEachValue(ch, [&](int j, const double* taps, int r) {
      Accumulate(normal, j, taps, r);
      ++fit->equations;
    });
  double squares = 0;
  for (int j = 0; j < 32; ++j) {
    const Normal& e = normal[j];
    double x[kUnknowns], inverse[kUnknowns];
    if (!Solve(e, x, inverse)) return false;
    for (int i = 0; i < kTaps; ++i) {
      fit->d[TapIndex(j, i)] = x[i];
      fit->variance[TapIndex(j, i)] = inverse[i];
    }
    // Residual r.r = y.y - 2 x.b + x.A.x, from the sums already kept.
    double xb = 0, xax = 0;
    for (int p = 0; p < kUnknowns; ++p) {
      xb += x[p] * e.b[p];
      for (int q = 0; q < kUnknowns; ++q) xax += x[p] * x[q] * (p <= q ? e.a[p][q] : e.a[q][p]);
    }
    squares += e.yy - 2 * xb + xax;
  }
  double variance = std::fmax(squares, 0.0) / static_cast<double>(fit->equations);
  fit->residualRms = std::sqrt(variance);
  for (double& v : fit->variance) v *= variance;
  return true;
}

// Each of the 257 values appears twice in the window (D[k] and, but for
// k = 0 and 256, -/+D[512 - k]); the better determined of the two decides.
void RoundToUnits(WindowFit* fit) {
  for (int k = 0; k <= 256; ++k) {
    int mirror = k == 0 ? 0 : 512 - k;
    int best = fit->variance[mirror] < fit->variance[k] ? mirror : k;
    fit->units[k] = static_cast<int32_t>(std::lround(fit->d[best] * 65536.0 * SignOf(best)));
  }
}

// Runs the integer window over every value: counts the values it fails to
// reproduce, and for each unit the values that one unit more or less would fail.
void Verify(const std::vector<Channel>& channels, WindowFit* fit) {
  std::vector<long> up(257, 0), down(257, 0);
  for (const Channel& ch : channels)
    ForEachValue(ch, [&](int j, const double* taps, int r) {
      double sum = 0, perUnit[257] = {};
      int touched[kTaps];
      for (int i = 0; i < kTaps; ++i) {
        int t = TapIndex(j, i), k = UnitOf(t);
        double weight = taps[i] * SignOf(t) / 65536.0;
        sum += weight * fit->units[k];
        touched[i] = k;
        perUnit[k] += weight;
      }
      double error = sum - r;
      if (std::fabs(error) > 0.5 + kSlack) ++fit->unmatched;
      fit->worstError = std::fmax(fit->worstError, std::fabs(error));
      for (int i = 0; i < kTaps; ++i) {
        int k = touched[i];
        if (perUnit[k] == 0) continue;
        if (std::fabs(error + perUnit[k]) > 0.5 + kSlack) ++up[k];
        if (std::fabs(error - perUnit[k]) > 0.5 + kSlack) ++down[k];
        perUnit[k] = 0;  // once per value
      }
    });
  fit->leastRefuted = -1;
  for (int k = 0; k <= 256; ++k) {
    long refuted = std::min(up[k], down[k]);
    if (fit->leastRefuted < 0 || refuted < fit->leastRefuted) fit->leastRefuted = refuted;
  }
}

}  // namespace

int FitSynthesisWindow(const std::string& folder, WindowFit* fit) {
  std::memset(fit, 0, sizeof(*fit));
  std::vector<std::vector<uint8_t>> refs;
  std::vector<Channel> channels;
  fit->streams = ReadStreams(folder, &refs, &channels);
  if (fit->streams == 0 || !LeastSquares(channels, fit)) return 0;
  RoundToUnits(fit);
  Verify(channels, fit);
  return 1;
}
