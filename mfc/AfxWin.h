#pragma once
// The framework's global services that the library uses: window-class
// registration, library loading with module bookkeeping, message boxes.
#include "frame/Kestrel5Api.h"

#include <windef.h>

// Registers (once) a window class with the given style, cursor, background
// and icon and returns its generated name; the name stays valid for the life
// of the process. Null when the platform refuses the class.
KSAPI char const *AfxRegisterWndClass(unsigned int nClassStyle, HCURSOR hCursor = nullptr,
                                      HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

// The module whose classes and resources the framework uses: Kestrel5.dll.
KSAPI HINSTANCE AfxGetInstanceHandle();
KSAPI HINSTANCE AfxGetResourceHandle();
KSAPI void AfxSetResourceHandle(HINSTANCE hInst);

// Library loading that keeps count of what the framework loaded.
KSAPI HINSTANCE AfxLoadLibrary(char const *lpszModuleName);
KSAPI bool AfxFreeLibrary(HINSTANCE hInstLib);
KSAPI int AfxGetLoadedLibraryCount();

// A message box owned by the active window, titled with the program's name.
KSAPI int AfxMessageBox(char const *lpszText, unsigned int nType = 0, unsigned int nIDHelp = 0);

// Framework bookkeeping of the DLL's entry point.
KSAPI void AfxTermThread();
