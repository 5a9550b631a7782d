#pragma once
#include "frame/LibraryLoader.h"

// The platform's kernel library, loaded by a name kept back to front.
class KSAPI Kernel32Loader : public LibraryLoader
{
public:
    Kernel32Loader();
};
