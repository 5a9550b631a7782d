#include "docking/ZnPaneDivider.h"

#include "frame/KSData.h"
#include "frame/KSGlobal.h"

int ZnPaneDivider::GetDefaultWidth()
{
    KSData const *pData = GetPKSData();
    return pData ? pData->ScaleY(6) : 6;
}
