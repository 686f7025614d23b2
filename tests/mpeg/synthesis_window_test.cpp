// The decoder's synthesis window is the one that the layer I and II
// conformance streams imply: run over every reference value it reproduces
// each to within rounding, and no single value of it can change by one unit
// without failing some.
#include <gtest/gtest.h>

#include "formats/mpeg/mpeg_internal.h"
#include "synthesis_window_fit.h"
#include "test_support.h"

TEST(SynthesisWindow, IsTheOneTheConformanceStreamsImply) {
  std::wstring folder = TestFolder("TPWR_TESTDATA");
  ASSERT_FALSE(folder.empty()) << "TPWR_TESTDATA is not set";
  static WindowFit fit;
  ASSERT_TRUE(FitSynthesisWindow(folder + TestPath(L"", "mpeg-conformance"), &fit));
  EXPECT_EQ(fit.streams, 15);
  std::printf("%ld values, least-squares residual %.3f LSB, worst %.4f LSB, each unit refuted by >= %ld\n",
              fit.equations, fit.residualRms, fit.worstError, fit.leastRefuted);
  EXPECT_EQ(fit.unmatched, 0);
  EXPECT_GT(fit.leastRefuted, 0);
  int differing = 0;
  for (int k = 0; k < 257; ++k)
    if (fit.units[k] != mpeg::kSynthWindowUnits[k]) {
      if (++differing <= 5) ADD_FAILURE() << "w[" << k << "] is " << mpeg::kSynthWindowUnits[k] << ", the streams say " << fit.units[k];
    }
  EXPECT_EQ(differing, 0);
}
