#pragma once
// One switch for every exported class and function: the library is built with
// KESTREL5_BUILD defined, applications see the import side.
#if defined(KESTREL5_BUILD)
#define KSAPI __declspec(dllexport)
#else
#define KSAPI __declspec(dllimport)
#endif

// The interfaces speak of __int64 as the platform does; the toolchain's base
// header defines it without pulling in the rest of the platform headers.
#include <_mingw.h>
