#include "tests/support/DockModelCompare.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "docking/DockElement.h"
#include "docking/HolderElement.h"
#include "docking/PaneElement.h"

namespace kstest {

namespace {

// The panes an element stands for, by internal name, sorted; the free space
// and hidden panes by their titles.
std::string Key(DockElement const *e)
{
    std::vector<std::string> names;
    if (e->GetType() == DET_HOLDER_ELEMENT) {
        auto const *h = static_cast<HolderElement const *>(e);
        for (DockElement const *c : {h->GetPLeft(), h->GetPRight()})
            if (c)
                names.push_back(Key(c));
    } else {
        names.push_back(e->GetTitle().GetStr());
    }
    std::sort(names.begin(), names.end());
    std::string k;
    for (std::string const &n : names) {
        if (!k.empty())
            k.push_back('+');
        k.append(n);
    }
    return k;
}

std::string RectStr(CRectangle const &r)
{
    char buf[80];
    std::snprintf(buf, sizeof buf, "(%d,%d)-(%d,%d)", int(r.Left()), int(r.Top()), int(r.Right()), int(r.Bottom()));
    return buf;
}

bool Near(CRectangle const &a, CRectangle const &b, int tol)
{
    auto d = [tol](long long x, long long y) { return std::llabs(x - y) <= tol; };
    return d(a.Left(), b.Left()) && d(a.Top(), b.Top()) && d(a.Right(), b.Right()) && d(a.Bottom(), b.Bottom());
}

bool Flat(DockElement const *e)
{
    CRectangle const &r = e->GetRect();
    return r.IsEmpty() || r.Right() <= r.Left() || r.Bottom() <= r.Top();
}

std::string Compare(DockElement const *a, DockElement const *b, int tol)
{
    std::string const ka = Key(a), kb = Key(b);
    if (ka != kb)
        return "'" + ka + "' stands where the model has '" + kb + "'";
    if (a->GetType() != b->GetType())
        return "'" + ka + "' is of kind " + std::to_string(b->GetType()) + ", the model's of kind " +
               std::to_string(a->GetType());
    // A hidden pane has no place of its own to compare, nor has an element
    // of no area (a group squeezed to nothing) that shows nothing either way.
    if (!a->IsHidden() && !(Flat(a) && Flat(b)) && !Near(a->GetRect(), b->GetRect(), tol))
        return "'" + ka + "' lies at " + RectStr(b->GetRect()) + ", the model's at " + RectStr(a->GetRect());
    if (a->GetType() != DET_HOLDER_ELEMENT)
        return {};
    auto const *ha = static_cast<HolderElement const *>(a);
    auto const *hb = static_cast<HolderElement const *>(b);
    // Halves of no area show nothing: which of them comes first cannot be
    // seen, and a model cannot tell either.
    bool const swap = ha->GetPLeft() && ha->GetPRight() && Flat(ha->GetPLeft()) && Flat(ha->GetPRight()) &&
                      hb->GetPLeft() && Key(hb->GetPLeft()) != Key(ha->GetPLeft());
    for (bool left : {true, false}) {
        DockElement const *ca = left ? ha->GetPLeft() : ha->GetPRight();
        DockElement const *cb = left != swap ? hb->GetPLeft() : hb->GetPRight();
        if (!ca != !cb)
            return "'" + ka + "' has " + (cb ? "a" : "no") + (left ? " first" : " second") + " half";
        if (ca)
            if (std::string e = Compare(ca, cb, tol); !e.empty())
                return e;
    }
    return {};
}

} // namespace

std::string CompareDockModels(std::vector<DockElement *> const &expected, std::vector<DockElement *> const &actual,
                              int tol)
{
    std::map<std::string, DockElement const *> byKey;
    for (DockElement const *e : actual)
        byKey[Key(e)] = e;
    if (byKey.size() != actual.size())
        return "two roots stand for the same panes";
    for (DockElement const *e : expected) {
        auto it = byKey.find(Key(e));
        if (it == byKey.end())
            return "nothing stands for '" + Key(e) + "'";
        if (std::string d = Compare(e, it->second, tol); !d.empty())
            return d;
        byKey.erase(it);
    }
    if (!byKey.empty())
        return "'" + byKey.begin()->first + "' is not in the model";
    return {};
}

std::string DockModelStr(std::vector<DockElement *> const &model)
{
    std::string s;
    for (DockElement const *e : model)
        s += std::string(e->GetStr().GetStr()) + "\n";
    return s;
}

} // namespace kstest
