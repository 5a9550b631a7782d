#include "controls/ColumnTreeControlData.h"

SString ColumnTreeControlData::GetColumnText(HTREEITEM, int)
{
    return SString();
}
