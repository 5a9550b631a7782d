#pragma once
// Kestrel5 — the one header an application includes. Every class of the
// library is reachable from here; a single class's header (for example
// "text/SString.h") may be included instead.
#include "frame/Kestrel5Api.h"
#include "text/Date.h"
#include "text/Time.h"
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
#include "mfc/CPoint.h"
#include "mfc/CSize.h"
#include "mfc/CRect.h"
#include "mfc/CRgn.h"
