#include "docking/ZnDummyDockablePane.h"

IMPLEMENT_DYNCREATE(ZnDummyDockablePane, ZnDockablePane)
