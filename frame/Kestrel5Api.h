#pragma once
// One switch for every exported class and function: the library is built with
// KESTREL5_BUILD defined, applications see the import side.
#if defined(KESTREL5_BUILD)
#define KSAPI __declspec(dllexport)
#else
#define KSAPI __declspec(dllimport)
#endif
