// Recovers the synthesis window from the conformance streams of layers I and
// II: their reference output is a linear function of the 512 window values,
// given the subband samples, which the decoder computes without the window.
// Built with a recording stand-in for the synthesis, so that the decoder's
// own window takes no part in the result.
#pragma once
#include <cstdint>
#include <string>

struct WindowFit {
  int streams;            // conformance streams read
  long equations;         // reference values used (clipped ones are not)
  double d[512];          // the least-squares window, in the standard's units
  double variance[512];   // of each fitted value (unbounded: not determined)
  double residualRms;     // of the least-squares fit, in LSB
  // The window rounded to units of 2^-16: its 257 independent values,
  // D[i] = (-1)^(i/64) units[min(i, 512 - i)].
  int32_t units[257];
  // That window run over every reference value again: the values it does not
  // reproduce to within rounding, the largest difference, and the fewest
  // values that any single unit changed by one would fail to reproduce.
  long unmatched;
  double worstError;
  long leastRefuted;
};

// Fits the window to the streams l1-fl1..8 and l2-fl10..16 in `folder`.
// Returns 0 when no stream could be read.
int FitSynthesisWindow(const std::string& folder, WindowFit* fit);
