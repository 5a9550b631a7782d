#include "window/Control.h"

Control::Control() = default;
