#pragma once
#include "frame/Kestrel5Api.h"

class ZnOleDataSource;

// The data of one drag: a data source made on first use and given back
// (its reference released) with the holder; the drag loop keeps its own
// reference while it runs.
class KSAPI DragDataSource
{
public:
    DragDataSource() : m_pDataSource(nullptr) {}
    ~DragDataSource();
    DragDataSource(DragDataSource const &) = delete;
    DragDataSource &operator=(DragDataSource const &) = delete;

    ZnOleDataSource *GetPDataSource();
    bool IsEmpty() const { return m_pDataSource == nullptr; }

private:
    ZnOleDataSource *m_pDataSource;
};
