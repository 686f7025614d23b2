// The decoder's synthesis window is the one that the layer I and II
// conformance streams imply: run over every reference value it reproduces
// each to within rounding, and no single value of it can change by one unit
// without failing some.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "formats/mpeg/mpeg_internal.h"
#include "synthesis_window_fit.h"

TEST(SynthesisWindow, IsTheOneTheConformanceStreamsImply) {
  const char* testdata = std::getenv("TPWR_TESTDATA");
  ASSERT_TRUE(testdata && *testdata) << "TPWR_TESTDATA is not set";
  static WindowFit fit;
  ASSERT_TRUE(FitSynthesisWindow(std::string(testdata) + "/mpeg-conformance", &fit));
  EXPECT_EQ(fit.streams, 15);
  EXPECT_EQ(fit.unmatched, 0);
  EXPECT_GT(fit.leastRefuted, 0);
  int differing = 0;
  for (int k = 0; k < 257; ++k)
    if (fit.units[k] != mpeg::kSynthWindowUnits[k] && ++differing <= 5)
      ADD_FAILURE() << "w[" << k << "] is " << mpeg::kSynthWindowUnits[k] << ", the streams say " << fit.units[k];
  EXPECT_EQ(differing, 0);
}
