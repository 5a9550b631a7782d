#include "controls/DialogStylist.h"

// Out of line, so that the class's virtual table lives in the library.
DialogStylist::~DialogStylist() = default;
