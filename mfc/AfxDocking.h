#pragma once
// The docking framework's constants and small types, under the names that
// docking code written against the platform framework expects.
#include "mfc/CRuntimeClass.h"

// Pane alignment bits of a pane's style: the side it is docked to.
constexpr unsigned long CBRS_ALIGN_LEFT = 0x1000;
constexpr unsigned long CBRS_ALIGN_TOP = 0x2000;
constexpr unsigned long CBRS_ALIGN_RIGHT = 0x4000;
constexpr unsigned long CBRS_ALIGN_BOTTOM = 0x8000;
constexpr unsigned long CBRS_ALIGN_ANY = 0xF000;
constexpr unsigned long CBRS_NOALIGN = 0;
constexpr unsigned long CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr unsigned long CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;

// What a docking pane allows (its control-bar style).
constexpr unsigned long AFX_CBRS_FLOAT = 0x1;
constexpr unsigned long AFX_CBRS_AUTOHIDE = 0x2;
constexpr unsigned long AFX_CBRS_RESIZE = 0x4;
constexpr unsigned long AFX_CBRS_CLOSE = 0x8;
constexpr unsigned long AFX_DEFAULT_DOCKING_PANE_STYLE =
    AFX_CBRS_FLOAT | AFX_CBRS_AUTOHIDE | AFX_CBRS_RESIZE | AFX_CBRS_CLOSE;
// How the panes of a tabbed pane show their tabs.
constexpr unsigned long AFX_CBRS_REGULAR_TABS = 0x40;
constexpr unsigned long AFX_CBRS_OUTLOOK_TABS = 0x80;

// Non-client hit codes of the caption buttons beyond the platform's own
// HTMINBUTTON (8) and HTMAXBUTTON (9).
constexpr unsigned int AFX_HTCLOSE = 19;
constexpr unsigned int AFX_HTMENU = 25;

// The identifier of a frame's view: the frame lays it out in what the docked
// panes leave free.
constexpr unsigned int AFX_IDW_PANE_FIRST = 0xE900;

enum AFX_DOCK_TYPE
{
    DT_UNDEFINED = 0,
    DT_IMMEDIATE = 1,
    DT_STANDARD = 2,
    DT_SMART = 0x80
};

enum AFX_DOCK_METHOD
{
    DM_UNKNOWN,
    DM_MOUSE,
    DM_DBL_CLICK,
    DM_SHOW,
    DM_RECT,
    DM_STANDARD
};

enum AFX_AUTOHIDE_SLIDE_MODE
{
    AFX_AHSM_MOVE = 0,
    AFX_AHSM_STRETCH = 1
};

// What AddDockSite makes: a dock site of a class on one margin.
struct AFX_DOCKSITE_INFO
{
    unsigned long m_dwBarAlignment;
    CRuntimeClass const *pDockBarRTC;
};
