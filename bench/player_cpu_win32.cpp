// Plays one WAV file through the player thread, as the program does, and
// prints the CPU time the process spent per minute of audio. Run under Wine
// by bench/player_cpu.sh with a real-time sound sink; usage: bench_player_cpu
// FILE [SPEED]. With a speed other than 100 the player starts at the recorded
// speed and changes to SPEED after two seconds; the time from that command to
// the first stretched buffer handed to the device is printed too.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cwchar>

#include "player/player_commands.h"
#include "player/player_messages.h"
#include "player/player_thread.h"

namespace {

volatile LONG gStopped = 0;
uint32_t gLengthSeconds = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PN_STATE && lParam == kStateStopped) gStopped = 1;
  if (message == PN_INFO && lParam)
    gLengthSeconds = reinterpret_cast<const FileInfoBlock*>(lParam)->info.lengthSeconds;
  return DefWindowProcW(window, message, wParam, lParam);
}

uint64_t ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](FILETIME t) { return uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000;
}

uint64_t ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](FILETIME t) { return uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000;
}

uint64_t WallMs();

// The output's Write, watched: the first buffers after the flush of a speed change.
void (*gWrite)(OutputModule*) = nullptr;
void (*gFlush)(OutputModule*) = nullptr;
std::atomic<uint64_t> gSpeedCommandMs{0};
std::atomic<int> gFlushed{0};
std::atomic<uint64_t> gFirstStretchedMs{0};

void WatchedFlush(OutputModule* output) {
  gFlush(output);
  if (gSpeedCommandMs) gFlushed = 1;
}

void WatchedWrite(OutputModule* output) {
  gWrite(output);
  if (gFlushed && !gFirstStretchedMs) gFirstStretchedMs = WallMs();
}

void InstallWatchedOutput(OutputModule* output) {
  WaveOutputInstall(output);
  gWrite = output->Write;
  gFlush = output->Flush;
  output->Write = WatchedWrite;
  output->Flush = WatchedFlush;
}

uint64_t WallMs() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return uint64_t(count.QuadPart) * 1000 / uint64_t(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: bench_player_cpu FILE.wav [SPEED]\n");
    return 2;
  }
  uint32_t speed = argc > 2 ? uint32_t(wcstoul(argv[2], nullptr, 10)) : 100;
  gPlayerInstallOutput = InstallWatchedOutput;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnerProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TpwrBenchOwner";
  RegisterClassW(&windowClass);
  HWND owner = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
  if (!owner || !PlayerOpenAudioFile(owner, argv[1])) {
    fprintf(stderr, "cannot open %ls\n", argv[1]);
    return 1;
  }
  PlayerPostCommand(PC_GETINFO, 0, 0);
  HANDLE player = nullptr;
  DuplicateHandle(GetCurrentProcess(), gPlayerThread.load(), GetCurrentProcess(), &player, 0, FALSE, DUPLICATE_SAME_ACCESS);
  uint64_t cpuStart = ProcessCpuMs();
  uint64_t playerStart = ThreadCpuMs(player);
  uint64_t wallStart = WallMs();
  gStopped = 0;
  PlayerPostCommand(PC_PLAY, 0, 0);
  MSG message;
  if (speed != 100) {
    // Two seconds at the recorded speed, then the change; the CPU counts from there.
    while (!gStopped && WallMs() - wallStart < 2000) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(10);
    }
    cpuStart = ProcessCpuMs();
    playerStart = ThreadCpuMs(player);
    wallStart = WallMs();
    gSpeedCommandMs = wallStart;
    PlayerPostCommand(PC_SETSPEED, speed, 0);
  }
  while (!gStopped && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  uint64_t cpu = ProcessCpuMs() - cpuStart;
  uint64_t playerCpu = ThreadCpuMs(player) - playerStart;
  uint64_t wall = WallMs() - wallStart;
  PlayerPostCommand(PC_QUIT, 0, 0);
  // What the device played in that time: the wall time (a real-time sink).
  double audioMs = speed != 100 ? double(wall) : gLengthSeconds * 1000.0;
  printf("speed %u %%: recording %.1f s, wall %.1f s\n", speed, gLengthSeconds * 1.0, wall / 1000.0);
  if (speed != 100 && gFirstStretchedMs)
    printf("speed change: %llu ms from the command to the first stretched buffer at the device (target < 300 ms)\n",
           static_cast<unsigned long long>(gFirstStretchedMs - gSpeedCommandMs));
  // Honest only when the sink plays in real time (wall close to the audio length).
  auto percent = [audioMs](uint64_t ms) { return audioMs > 0 ? 100.0 * double(ms) / audioMs : 0.0; };
  printf("player thread CPU: %llu ms = %.3f %% of one core (target < %s)\n",
         static_cast<unsigned long long>(playerCpu), percent(playerCpu), speed != 100 ? "2 %" : "0.5 %");
  printf("whole process CPU (with Wine's own audio threads): %llu ms = %.3f %% of one core\n",
         static_cast<unsigned long long>(cpu), percent(cpu));
  if (player) CloseHandle(player);
  DestroyWindow(owner);
  return 0;
}
