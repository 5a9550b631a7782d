// The DLL's entry point does only the framework's module bookkeeping; the
// library itself starts when the application calls KSInit.
#include "mfc/AfxWin.h"

#include <windows.h>

void KsSetModuleInstance(HINSTANCE hInst);

extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        KsSetModuleInstance(hInst);
        break;
    case DLL_THREAD_DETACH:
        // A thread's temporary window objects die with the thread.
        AfxTermThread();
        break;
    case DLL_PROCESS_DETACH:
        break;
    }
    return TRUE;
}
