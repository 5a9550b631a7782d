#pragma once
// An ordered list of object pointers walked by opaque positions, the way the
// docking classes keep their panes, dock sites and mini frames. The list
// never owns the objects. A position stays valid until its own entry is
// removed, whatever else is inserted or removed around it.
//
//     POSITION pos = list.GetHeadPosition();
//     while (pos)
//         Use(list.GetNext(pos));   // answers the entry, moves pos on
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

struct __POSITION;
typedef __POSITION *POSITION;

class KSAPI CObList : public CObject
{
public:
    CObList() = default;
    ~CObList() override;
    CObList(CObList const &) = delete;
    CObList &operator=(CObList const &) = delete;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    CObject *&GetHead();
    CObject *GetHead() const;
    CObject *&GetTail();
    CObject *GetTail() const;
    CObject *RemoveHead();
    CObject *RemoveTail();
    POSITION AddHead(CObject *p);
    POSITION AddTail(CObject *p);
    void AddHead(CObList const *pList);
    void AddTail(CObList const *pList);
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CObject *&GetNext(POSITION &pos);
    CObject *GetNext(POSITION &pos) const;
    CObject *&GetPrev(POSITION &pos);
    CObject *GetPrev(POSITION &pos) const;
    CObject *&GetAt(POSITION pos);
    CObject *GetAt(POSITION pos) const;
    void SetAt(POSITION pos, CObject *p);
    void RemoveAt(POSITION pos);
    POSITION InsertBefore(POSITION pos, CObject *p);
    POSITION InsertAfter(POSITION pos, CObject *p);

    // The first entry equal to p after pos (from the head when pos is null),
    // or null.
    POSITION Find(CObject const *p, POSITION startAfter = nullptr) const;
    // The entry at a zero-based index, or null past the end.
    POSITION FindIndex(int nIndex) const;

private:
public:
    struct Node; // opaque behind POSITION

private:
    Node *m_pHead = nullptr;
    Node *m_pTail = nullptr;
    int m_nCount = 0;
};
