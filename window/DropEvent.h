#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"

class COleDataObject;
class DropData;
class StringList;

// What a drop-enabled window learns about a drag over it: the position in
// its client coordinates, the effect (at a drop: the effects the source
// allows) and the dragged data, borrowed for the duration of the call.
class KSAPI DropEvent
{
public:
    DropEvent(Point const &rPos, COleDataObject *pDataObject)
        : m_nDropEffect(0), m_aPos(rPos), m_bLeaveWindow(false), m_pDataObject(pDataObject)
    {
    }
    DropEvent(unsigned long nEffect, Point const &rPos, bool bLeave, COleDataObject *pDataObject)
        : m_nDropEffect(nEffect), m_aPos(rPos), m_bLeaveWindow(bLeave), m_pDataObject(pDataObject)
    {
    }

    Point GetPosPixel() const { return m_aPos; }
    unsigned long GetDropEffect() const { return m_nDropEffect; }
    bool IsLeaveWindow() const { return m_bLeaveWindow; }
    COleDataObject *GetPDataObject() const { return m_pDataObject; }

    // nFormat: a platform clipboard format.
    bool HasClipboardFormat(int nFormat) const;
    bool HasFileNames() const;
    // Appends each dropped file's name; true when there was at least one.
    bool ExtractFileNames(StringList &rList) const;
    // Fills rData's block from the data of its format; false when absent.
    bool FillDropData(DropData &rData) const;

private:
    unsigned long m_nDropEffect;
    Point m_aPos;
    bool m_bLeaveWindow;
    COleDataObject *m_pDataObject;
};
