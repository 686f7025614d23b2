// A mapi32.dll laid beside the test program: loading it by bare name would
// find it first. When it is loaded it says so in the environment.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"TPWR_DECOY_MAPI32", L"1");
  return TRUE;
}

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(ULONG_PTR, ULONG_PTR, void*, ULONG, ULONG) { return 0; }
