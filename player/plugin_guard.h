// Calls into a plug-in under a structured-exception guard: an access
// violation, illegal instruction or division by zero inside the call ends the
// call instead of the program. Only the calling thread is guarded; a fault in
// a thread of the plug-in's own still ends the process, as Windows decides.
#pragma once

// Runs call(context). Non-zero when it returned; zero when it faulted (the
// plug-in's state is then unknown and nothing of it should run again).
int PluginGuardedCall(void (*call)(void* context), void* context);
