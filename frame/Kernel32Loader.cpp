#include "frame/Kernel32Loader.h"

// The name is kept back to front, so that it does not stand in the
// library's constant data as it is.
Kernel32Loader::Kernel32Loader()
{
    SString name("lld.23lenrek");
    name.Reverse();
    Load(name);
}
