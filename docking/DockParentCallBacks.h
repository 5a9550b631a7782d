#pragma once
// The links through which a dock parent window reports to its owner, in
// their fixed order. Each is called with the argument named beside it;
// where the window uses the result, non-zero means yes.
#include "frame/Link.h"
#include "text/SString.h"

struct DockParentCallBacks
{
    Link aBeginResizesHdl;      // 1  the dock parent window; resizing begins
    Link aLayoutChangeHdl;      // 2  the dock parent window; the layout changed
    Link aPostCloseHdl;         // 3  the pane's docked Window; the owner closes it
    Link aCanCloseHdl;          // 4  the pane's docked Window; may it close or be removed
    Link aUserMayToggleHdl;     // 5  the pane's docked Window; may the user show or hide it
    Link aShowPaneHdl;          // 6  the pane, shown
    Link aRemovePaneHdl;        // 7  the pane, removed or hidden
    Link aBeforeFloatHdl;       // 8  the pane, about to float
    Link aAcceptFloatRectHdl;   // 9  the DockPosition computed; take its floating rectangle
    Link aSaveFloatingStateHdl; // 10 a DockPosition carrying the floating rectangle
    Link aCaptionSetFocusHdl;   // 11 the pane whose caption took the focus
    Link aDockEmergencyHdl;     // 12 the pane and a DockPosition to fill
    Link aPaneMenuClickHdl;     // 13 the click point (a Point, screen)
    Link aGetDockingMsgHdl;     // 14 a DockingMsgRequest: the code and the text to fill
};

class DockPosition;
class ZnDockablePane;

// What link 12 receives: a pane the layout could not place and the position
// the owner may fill for it.
struct DockEmergencyRequest
{
    ZnDockablePane *pPane;
    DockPosition *pPosition;
};

// What link 14 receives.
struct DockingMsgRequest
{
    int nCode;
    SString *pText;
};
