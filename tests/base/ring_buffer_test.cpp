// The toolkit ring buffer between a writing and a reading thread.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/ring_buffer.h"

namespace {

// A writer much faster than the ring is large: every byte arrives once and in
// order across many wraps, and the end mark ends the reading after the last.
TEST(RingBuffer, CarriesEveryByteInOrderToTheEnd) {
  RingBuffer ring;
  ASSERT_TRUE(RingBufferCreate(&ring, 1000));
  std::atomic<int> stop{0};
  constexpr uint32_t kTotal = 200000;
  std::thread writer([&] {
    uint8_t piece[333];
    for (uint32_t at = 0; at < kTotal; at += sizeof piece) {
      uint32_t n = kTotal - at < sizeof piece ? kTotal - at : uint32_t(sizeof piece);
      for (uint32_t i = 0; i < n; ++i) piece[i] = uint8_t((at + i) % 251);
      ASSERT_TRUE(RingBufferWaitForSpace(&ring, n, &stop));
      ASSERT_TRUE(RingBufferWrite(&ring, piece, n));
    }
    RingBufferMarkEnd(&ring);
  });
  std::vector<uint8_t> received;
  uint8_t buffer[512];
  uint32_t got = 0;
  int more = 1;
  while (more) {
    more = RingBufferRead(&ring, buffer, sizeof buffer, &got, 60000);
    received.insert(received.end(), buffer, buffer + got);
  }
  writer.join();
  ASSERT_EQ(received.size(), kTotal);
  for (uint32_t i = 0; i < kTotal; ++i) ASSERT_EQ(received[i], i % 251) << i;
  RingBufferDestroy(&ring);
}

TEST(RingBuffer, SpaceStopAndRestart) {
  RingBuffer ring;
  ASSERT_TRUE(RingBufferCreate(&ring, 16));
  EXPECT_EQ(RingBufferFreeSpace(&ring), 15u);  // one byte always stays free
  uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  EXPECT_FALSE(RingBufferWrite(&ring, bytes, 16));
  EXPECT_TRUE(RingBufferWrite(&ring, bytes, 10));
  EXPECT_FALSE(RingBufferWrite(&ring, bytes, 6));
  // A writer waiting for room that never comes is released by its stop flag.
  std::atomic<int> stop{0};
  std::thread writer([&] { EXPECT_FALSE(RingBufferWaitForSpace(&ring, 8, &stop)); });
  stop = 1;
  RingBufferWake(&ring);
  writer.join();
  // Nothing more is coming: a read hands over what is there and says so.
  uint8_t out[16] = {};
  uint32_t got = 0;
  EXPECT_FALSE(RingBufferRead(&ring, out, 16, &got, 0));
  EXPECT_EQ(got, 10u);
  EXPECT_EQ(out[9], 10);
  RingBufferWrite(&ring, bytes, 4);
  RingBufferMarkEnd(&ring);
  RingBufferReset(&ring);  // empty, still ended
  EXPECT_FALSE(RingBufferRead(&ring, out, 4, &got, 60000));
  EXPECT_EQ(got, 0u);
  RingBufferRestart(&ring);  // a new start after a seek: no longer ended
  RingBufferWrite(&ring, bytes + 4, 4);
  EXPECT_TRUE(RingBufferRead(&ring, out, 4, &got, 0));
  EXPECT_EQ(out[0], 5);
  RingBufferDestroy(&ring);
}

}  // namespace
