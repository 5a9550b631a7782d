#include "docking/ZnDockingGesture.h"

#include "docking/ZnDockingManager.h"

ZnDockingGesture::ZnDockingGesture(ZnDockingManager *pManager) : m_pManager(pManager)
{
    if (m_pManager)
        m_pManager->BeginGesture();
}

ZnDockingGesture::~ZnDockingGesture()
{
    if (m_pManager)
        m_pManager->EndGesture();
}
