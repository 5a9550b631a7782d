#include "docking/DockNeighbour.h"

#include "base/LocalSizedRead.h"
#include "base/LocalSizedWrite.h"
#include "docking/DataBuffer.h"
#include "docking/DockAlign.h"

char const *DockAlignName(unsigned long align) noexcept
{
    switch (align) {
    case DockAlignLeft: return "CBRS_ALIGN_LEFT";
    case DockAlignTop: return "CBRS_ALIGN_TOP "; // the trailing blank is part of the name
    case DockAlignRight: return "CBRS_ALIGN_RIGHT";
    case DockAlignBottom: return "CBRS_ALIGN_BOTTOM";
    case DockAlignAny: return "CBRS_ALIGN_ANY";
    case DockAlignNone: return "CBRS_NOALIGN";
    default: return "CBRS_??";
    }
}

char const *DockContactName(int contact) noexcept
{
    switch (contact) {
    case NCT_NONE: return "NCT_NONE";
    case NCT_TOUCHING_SIDE: return "NCT_TOUCHING_SIDE";
    case NCT_JUSTIFIED_SIDE: return "NCT_JUSTIFIED_SIDE";
    case NCT_EQUAL_SIDE: return "NCT_EQUAL_SIDE";
    default: return "NCT_??";
    }
}

DockNeighbour::DockNeighbour() : m_nAlign(0), m_eContact(NCT_NONE), m_bHolder(false), m_bFreeSpace(false)
{
}

DockNeighbour::DockNeighbour(SString const &name, unsigned long align, NeighbourContactType contact, bool holder,
                             bool freeSpace)
    : m_sName(name), m_nAlign(align), m_eContact(contact), m_bHolder(holder), m_bFreeSpace(freeSpace)
{
}

int DockNeighbour::GetAlignSideLen(Size const &size) const noexcept
{
    return m_nAlign == DockAlignTop || m_nAlign == DockAlignBottom ? size.Height() : size.Width();
}

SString DockNeighbour::GetStr() const
{
    SString s(m_sName);
    s += ", Algn=";
    s += DockAlignName(m_nAlign);
    s += ", contact=";
    s += DockContactName(m_eContact);
    s += ", holder=";
    s += m_bHolder ? "1" : "0";
    s += ", freeSE=";
    s += m_bFreeSpace ? "1" : "0";
    return s;
}

ERRCODE DockNeighbour::WriteToDataBuffer(DataBuffer &buf) const
{
    LocalSizedWrite section(buf);
    buf.WriteString(m_sName);
    buf.WriteAlign(m_nAlign);
    buf.WriteInt32(m_eContact);
    buf.WriteBool(m_bHolder);
    buf.WriteBool(m_bFreeSpace);
    return ERRCODE_OK;
}

bool DockNeighbour::ReadFromDataBuffer(DataBuffer &buf)
{
    unsigned long failsBefore = buf.GetFailCount();
    LocalSizedRead section(buf);
    SString name = buf.ReadString();
    if (name.Len() > DOCK_MAX_NAME_LEN)
        return false;
    m_sName = name;
    m_nAlign = buf.ReadAlign();
    // Taken unsigned: a negative contact is as unknown as 4.
    unsigned int contact = static_cast<unsigned int>(buf.ReadInt32());
    if (contact >= 4)
        return false;
    m_eContact = static_cast<NeighbourContactType>(contact);
    m_bHolder = buf.ReadBool();
    m_bFreeSpace = buf.ReadBool();
    return buf.GetFailCount() == failsBefore;
}

bool DockNeighbour::operator==(DockNeighbour const &o) const
{
    return m_sName == o.m_sName && m_nAlign == o.m_nAlign && m_eContact == o.m_eContact &&
           m_bHolder == o.m_bHolder && m_bFreeSpace == o.m_bFreeSpace;
}
