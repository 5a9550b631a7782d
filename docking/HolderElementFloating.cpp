#include "docking/HolderElement.h"

bool HolderElement::Float()
{
    // Both children are asked, even when the first one floated.
    bool const left = GetPLeft() && GetPLeft()->Float();
    bool const right = GetPRight() && GetPRight()->Float();
    return left || right;
}
