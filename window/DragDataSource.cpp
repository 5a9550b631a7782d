#include "window/DragDataSource.h"

#include "window/ZnOleDataSource.h"

DragDataSource::~DragDataSource()
{
    if (m_pDataSource)
        m_pDataSource->InternalRelease();
}

ZnOleDataSource *DragDataSource::GetPDataSource()
{
    if (!m_pDataSource)
        m_pDataSource = new ZnOleDataSource;
    return m_pDataSource;
}
