#pragma once
// Compares two captured layout models (ZnDockParentWnd::SaveState) the way a
// user compares two layouts: the same roots standing for the same panes, of
// the same kinds, nested the same way (left or top child first), each
// rectangle within tol pixels on every side, the same panes hidden. Roots
// are matched by the panes they stand for, not by their order or ids, so a
// layout rebuilt from a model compares equal to the model it came from.
// Answers "" or the first difference in words.
#include <string>
#include <vector>

#include "docking/DockElement.h"

namespace kstest {

// A captured model that deletes its elements.
struct OwnedModel
{
    std::vector<DockElement *> v;
    OwnedModel() = default;
    OwnedModel(OwnedModel const &) = delete;
    OwnedModel &operator=(OwnedModel const &) = delete;
    ~OwnedModel() { DockElement::ClearDockElements(v); }
};

std::string CompareDockModels(std::vector<DockElement *> const &expected, std::vector<DockElement *> const &actual,
                              int tol);

// One line per root, for failure messages.
std::string DockModelStr(std::vector<DockElement *> const &model);

} // namespace kstest
