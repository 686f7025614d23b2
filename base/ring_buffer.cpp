#include "base/ring_buffer.h"

#include <chrono>
#include <cstring>
#include <new>

namespace {

// Callers hold the lock.
uint32_t Held(const RingBuffer* ring) {
  return ring->writeAt >= ring->readAt ? ring->writeAt - ring->readAt
                                       : ring->capacity - ring->readAt + ring->writeAt;
}
uint32_t Free(const RingBuffer* ring) { return ring->capacity ? ring->capacity - 1 - Held(ring) : 0; }

// Copies what is held, up to n bytes, in at most two pieces.
uint32_t Take(RingBuffer* ring, uint8_t* out, uint32_t n) {
  uint32_t count = Held(ring);
  if (count > n) count = n;
  uint32_t first = ring->capacity - ring->readAt;
  if (first > count) first = count;
  memcpy(out, ring->bytes + ring->readAt, first);
  memcpy(out + first, ring->bytes, count - first);
  ring->readAt = (ring->readAt + count) % ring->capacity;
  return count;
}

}  // namespace

int RingBufferCreate(RingBuffer* ring, uint32_t capacity) {
  ring->bytes = capacity > 1 ? new (std::nothrow) uint8_t[capacity] : nullptr;
  ring->capacity = ring->bytes ? capacity : 0;
  ring->readAt = ring->writeAt = 0;
  ring->ended = 0;
  return ring->bytes != nullptr;
}

void RingBufferDestroy(RingBuffer* ring) {
  delete[] ring->bytes;
  ring->bytes = nullptr;
  ring->capacity = ring->readAt = ring->writeAt = 0;
}

uint32_t RingBufferFreeSpace(RingBuffer* ring) {
  std::lock_guard<std::mutex> hold(ring->lock);
  return Free(ring);
}

int RingBufferWrite(RingBuffer* ring, const void* data, uint32_t n) {
  {
    std::lock_guard<std::mutex> hold(ring->lock);
    if (n > Free(ring)) return 0;
    const uint8_t* in = static_cast<const uint8_t*>(data);
    uint32_t first = ring->capacity - ring->writeAt;
    if (first > n) first = n;
    memcpy(ring->bytes + ring->writeAt, in, first);
    memcpy(ring->bytes, in + first, n - first);
    ring->writeAt = (ring->writeAt + n) % ring->capacity;
  }
  ring->changed.notify_all();
  return 1;
}

int RingBufferWaitForSpace(RingBuffer* ring, uint32_t n, const std::atomic<int>* stop) {
  std::unique_lock<std::mutex> hold(ring->lock);
  if (ring->capacity == 0 || n > ring->capacity - 1) return 0;
  ring->changed.wait(hold, [&] { return *stop || Free(ring) >= n; });
  return !*stop;
}

int RingBufferRead(RingBuffer* ring, void* buffer, uint32_t n, uint32_t* got, uint32_t timeoutMs) {
  uint8_t* out = static_cast<uint8_t*>(buffer);
  uint32_t taken = 0;
  int complete = 0;
  {
    std::unique_lock<std::mutex> hold(ring->lock);
    while (ring->capacity) {
      taken += Take(ring, out + taken, n - taken);
      if (taken == n) {
        complete = 1;
        break;
      }
      if (ring->ended) break;
      if (!ring->changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                  [&] { return ring->ended || Held(ring) > 0; }))
        break;
    }
  }
  ring->changed.notify_all();  // the writer may be waiting for the room taken
  *got = taken;
  return complete;
}

void RingBufferReset(RingBuffer* ring) {
  {
    std::lock_guard<std::mutex> hold(ring->lock);
    ring->readAt = ring->writeAt = 0;
  }
  ring->changed.notify_all();
}

void RingBufferRestart(RingBuffer* ring) {
  {
    std::lock_guard<std::mutex> hold(ring->lock);
    ring->readAt = ring->writeAt = 0;
    ring->ended = 0;
  }
  ring->changed.notify_all();
}

void RingBufferMarkEnd(RingBuffer* ring) {
  {
    std::lock_guard<std::mutex> hold(ring->lock);
    ring->ended = 1;
  }
  ring->changed.notify_all();
}

void RingBufferWake(RingBuffer* ring) {
  { std::lock_guard<std::mutex> hold(ring->lock); }
  ring->changed.notify_all();
}
