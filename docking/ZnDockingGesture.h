#pragma once
// The scope of one docking operation or user gesture. Scopes nest; when the
// outermost one ends, the manager moves the windows once, tells the site of
// a layout change once (if the operation reported one) and runs the
// after-hook.
//
//     {
//         ZnDockingGesture g(pManager);
//         ... any number of docking calls ...
//     }   // one layout, one notice
#include "frame/Kestrel5Api.h"

class ZnDockingManager;

class KSAPI ZnDockingGesture
{
public:
    explicit ZnDockingGesture(ZnDockingManager *pManager);
    ~ZnDockingGesture();
    ZnDockingGesture(ZnDockingGesture const &) = delete;
    ZnDockingGesture &operator=(ZnDockingGesture const &) = delete;

private:
    ZnDockingManager *m_pManager;
};
