#pragma once
// The frame's free client area, where the document lies. Panes dock around
// it, so it is the reference for "outer" and for margin docking.
#include "docking/DockElement.h"

class KSAPI FreeSpaceElement : public DockElement
{
public:
    ERRCODE WriteToDataBuffer(DataBuffer &buffer) const override;
    explicit FreeSpaceElement(CWnd const *pWnd = nullptr);
    FreeSpaceElement(FreeSpaceElement const &src, bool withNeighbours);

    DockElementType GetType() const override { return DET_FREE_SPACE_ELEMENT; }
    SString GetTitle() const override { return "GFS"; }
    SString GetIdentifier() const override { return "GFS"; }
    DockElement *Duplicate(bool withNeighbours) const override;
    bool DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    bool DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    DockPaneElement *FindClosestDockPane(std::set<SString> const &docked, std::set<SString> &visited) const override;
    bool CanMerge() const override { return false; }
    void RefreshRect() override {}
    bool WindowsExist() const override { return true; }

    CWnd const *GetWnd() const { return m_pWnd; }

protected:
    bool ReadFromDataBuffer(DataBuffer &buffer) override;
    CWnd const *m_pWnd;
};
