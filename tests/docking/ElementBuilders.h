#pragma once
// Builders for the layout-element tests: elements placed on a rectangle,
// holders of two children, the divider width that geometry is measured in,
// and each element's neighbours as (id, side) pairs.
#include "docking/DockPaneElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnPaneDivider.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <utility>
#include <vector>

// Readable failures for the library's string.
inline void PrintTo(SString const &s, std::ostream *os) { *os << '"' << s.GetStr() << '"'; }

namespace kstest {

// Neighbouring elements lie one divider apart.
inline int W() { return ZnPaneDivider::GetDefaultWidth(); }

// A new E(args...) on r; the caller owns it.
template <class E = DockPaneElement, class... Args> E *Placed(CRectangle const &r, Args &&...args)
{
    E *e = new E(std::forward<Args>(args)...);
    e->SetRect(r);
    return e;
}

inline DockPaneElement *Pane(CRectangle const &r, ZnDockablePane const *pane = nullptr)
{
    return Placed<DockPaneElement>(r, pane);
}

// A holder of l and r whose rectangle and fraction come from them.
inline HolderElement *Hold(DockElement *l, DockElement *r)
{
    auto *h = new HolderElement();
    h->SetChilds(l, r);
    h->RefreshRect();
    return h;
}

template <class E> std::unique_ptr<E> Own(E *e) { return std::unique_ptr<E>(e); }

using Sides = std::vector<std::pair<int, NeighbourType>>;

// (id, side) of each neighbour, in order; a neighbour is a bare copy.
inline Sides SidesOf(DockElement const &e)
{
    Sides v;
    for (DockElement const *n : e.GetNeighbours()) {
        v.emplace_back(n->GetId(), n->GetNeighbourType());
        EXPECT_TRUE(n->GetParent() == nullptr && n->GetNeighbours().empty()) << "a neighbour is a bare copy";
    }
    return v;
}

} // namespace kstest
