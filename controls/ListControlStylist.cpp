#include "controls/ListControlStylist.h"

// Out of line, so that the class's virtual table lives in the library.
ListControlStylist::~ListControlStylist() = default;
