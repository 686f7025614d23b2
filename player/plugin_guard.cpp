// The guard: a vectored handler that, while this thread is inside a guarded
// call, resumes the faulting thread in a routine that jumps back to the
// guard's frame. GCC's __builtin_setjmp/__builtin_longjmp only restore the
// frame and stack pointers, which is what leaving foreign frames needs.
#include "player/plugin_guard.h"

#include <windows.h>

#include <mutex>

namespace {

struct GuardFrame {
  void* jump[5];
};

thread_local GuardFrame* tGuard = nullptr;

#if defined(__x86_64__)
[[noreturn]] void ReturnToGuard() { __builtin_longjmp(tGuard->jump, 1); }

int IsPluginFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_IN_PAGE_ERROR: return 1;
    default: return 0;  // a stack overflow leaves no stack to go on with; C++ throws are the plug-in's
  }
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
  if (!tGuard || !IsPluginFault(exception->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT* context = exception->ContextRecord;
  // Below the faulting frame, aligned as after a call.
  context->Rsp = ((context->Rsp - 1024) & ~DWORD64{15}) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&ReturnToGuard);
  return EXCEPTION_CONTINUE_EXECUTION;
}

__attribute__((noinline)) int GuardedCall(void (*call)(void*), void* context, GuardFrame* frame) {
  GuardFrame* volatile outer = tGuard;  // read again after the jump back
  if (__builtin_setjmp(frame->jump)) {
    tGuard = outer;
    return 0;
  }
  tGuard = frame;
  call(context);
  tGuard = outer;
  return 1;
}
#endif

}  // namespace

int PluginGuardedCall(void (*call)(void* context), void* context) {
#if defined(__x86_64__)
  static std::once_flag installed;
  std::call_once(installed, [] { AddVectoredExceptionHandler(1, OnException); });
  GuardFrame frame;
  return GuardedCall(call, context, &frame);
#else
  call(context);
  return 1;
#endif
}
