#pragma once
// Kestrel5 — the one header an application includes. Every class of the
// library is reachable from here; a single class's header (for example
// "text/SString.h") may be included instead.
#include "frame/Kestrel5Api.h"

// Text and time
#include "text/SString.h"
#include "text/Date.h"
#include "text/Time.h"

// Foundation services
#include "base/Container.h"
#include "base/Table.h"
#include "base/Pair.h"
#include "base/Range.h"
#include "base/FSysError.h"
#include "base/WildCard.h"
#include "base/DirEntry.h"
#include "base/FileStat.h"
#include "base/ERRCODE.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "base/LocalWriteJump.h"

// Application frame
#include "frame/LinkHdl.h"
#include "frame/Link.h"
#include "frame/HdlChain.h"
#include "frame/Timer.h"
#include "frame/AutoTimer.h"
#include "frame/TimerManager.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "frame/CWindowMap.h"
#include "frame/CHWndMap.h"
#include "frame/CScrollBarMap.h"
#include "frame/CControlMap.h"
#include "frame/LibraryLoader.h"
#include "frame/Kernel32Loader.h"

// Graphics
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "graphics/CRectangle.h"
#include "graphics/FPoint.h"
#include "graphics/FSize.h"
#include "graphics/FRectangle.h"
#include "graphics/Point3D.h"
#include "graphics/CPolygon.h"
#include "graphics/FPolygon.h"
#include "graphics/CPolygon3D.h"
#include "graphics/CPolyPolygon.h"
#include "graphics/Region.h"
#include "graphics/ColorName.h"
#include "graphics/Color.h"
#include "graphics/RGBAlpha.h"
#include "graphics/ColorPair.h"

// Windows and events
#include "window/Window.h"
#include "window/WorkWindow.h"
#include "window/ToolWindow.h"
#include "window/Control.h"
#include "window/KeyCode.h"
#include "window/KeyEvent.h"
#include "window/MouseEvent.h"

// Docking
#include "docking/NeighbourContactType.h"
#include "docking/NeighbourType.h"
#include "docking/DockAlign.h"
#include "docking/DockOrientation.h"
#include "docking/DataBuffer.h"
#include "docking/DockNeighbour.h"
#include "docking/DockPosition.h"

// The framework stand-in the library builds on
#include "mfc/CObject.h"
#include "mfc/CRuntimeClass.h"
#include "mfc/CMapPtrToPtr.h"
#include "mfc/CWnd.h"
#include "mfc/CFrameWnd.h"
#include "mfc/AfxWin.h"
#include "mfc/CStringT.h"
#include "mfc/CPoint.h"
#include "mfc/CSize.h"
#include "mfc/CRect.h"
#include "mfc/CRgn.h"
