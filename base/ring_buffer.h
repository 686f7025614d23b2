// A byte ring between one writing thread and one reading thread: a decoder
// that runs ahead on a thread of its own (WMA; later the plug-ins) and the
// player that pulls PCM from it. The ring carries its own lock.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

struct RingBuffer {
  uint8_t* bytes;  // null until created
  uint32_t capacity;
  uint32_t readAt;
  uint32_t writeAt;
  int ended;  // the writer has nothing more to give
  std::mutex lock;
  std::condition_variable changed;  // data written or taken, end marked, or a wake
};

// Allocates capacity bytes (one always stays free). Non-zero on success.
int RingBufferCreate(RingBuffer* ring, uint32_t capacity);
void RingBufferDestroy(RingBuffer* ring);

// Bytes that a write can take now.
uint32_t RingBufferFreeSpace(RingBuffer* ring);
// Copies all n bytes, or nothing when they do not fit now. Non-zero when written.
int RingBufferWrite(RingBuffer* ring, const void* data, uint32_t n);
// Blocks until n bytes fit (non-zero) or *stop is set (zero); whoever sets
// *stop calls RingBufferWake. n above the free capacity never fits.
int RingBufferWaitForSpace(RingBuffer* ring, uint32_t n, const std::atomic<int>* stop);
// Takes up to n bytes into buffer and writes back how many in *got. Waits for
// data while fewer than n are taken, at most timeoutMs at a time. Returns
// non-zero when n bytes were taken; zero when the end was reached (marked and
// drained) or nothing came within the time.
int RingBufferRead(RingBuffer* ring, void* buffer, uint32_t n, uint32_t* got, uint32_t timeoutMs);

// Empties the ring; the end mark stays as it is.
void RingBufferReset(RingBuffer* ring);
// Empties the ring and takes back the end mark: the writer starts afresh.
void RingBufferRestart(RingBuffer* ring);
void RingBufferMarkEnd(RingBuffer* ring);
// Wakes every waiter so that it looks at its stop flag.
void RingBufferWake(RingBuffer* ring);
