#include "controls/ListItemCallBackData.h"

ListItemCallBackData::ListItemCallBackData(int nMask_, int nItem_, int nSubItem_)
    : nImage(0), nMask(static_cast<unsigned int>(nMask_)), nItem(nItem_), nSubItem(nSubItem_)
{
}
