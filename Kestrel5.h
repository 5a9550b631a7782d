#pragma once
// Kestrel5 — the one header an application includes. Every class of the
// library is reachable from here; a single class's header (for example
// "text/SString.h") may be included instead.
#include "frame/Kestrel5Api.h"
#include "text/Date.h"
#include "text/Time.h"
