#include "docking/ZnTabbedPane.h"

IMPLEMENT_DYNCREATE(ZnTabbedPane, ZnBaseTabbedPane)
