#include "mfc/CObList.h"

struct CObList::Node
{
    Node *pNext;
    Node *pPrev;
    CObject *data;
};

namespace {
inline CObList::Node *N(POSITION pos)
{
    return reinterpret_cast<CObList::Node *>(pos);
}
inline POSITION P(CObList::Node *n)
{
    return reinterpret_cast<POSITION>(n);
}
} // namespace

CObList::~CObList()
{
    RemoveAll();
}

CObject *&CObList::GetHead()
{
    return m_pHead->data;
}

CObject *CObList::GetHead() const
{
    return m_pHead ? m_pHead->data : nullptr;
}

CObject *&CObList::GetTail()
{
    return m_pTail->data;
}

CObject *CObList::GetTail() const
{
    return m_pTail ? m_pTail->data : nullptr;
}

CObject *CObList::RemoveHead()
{
    if (!m_pHead)
        return nullptr;
    CObject *p = m_pHead->data;
    RemoveAt(P(m_pHead));
    return p;
}

CObject *CObList::RemoveTail()
{
    if (!m_pTail)
        return nullptr;
    CObject *p = m_pTail->data;
    RemoveAt(P(m_pTail));
    return p;
}

POSITION CObList::AddHead(CObject *p)
{
    Node *n = new Node{m_pHead, nullptr, p};
    (m_pHead ? m_pHead->pPrev : m_pTail) = n;
    m_pHead = n;
    ++m_nCount;
    return P(n);
}

POSITION CObList::AddTail(CObject *p)
{
    Node *n = new Node{nullptr, m_pTail, p};
    (m_pTail ? m_pTail->pNext : m_pHead) = n;
    m_pTail = n;
    ++m_nCount;
    return P(n);
}

void CObList::AddHead(CObList const *pList)
{
    if (!pList || pList == this)
        return;
    for (Node *n = pList->m_pTail; n; n = n->pPrev)
        AddHead(n->data);
}

void CObList::AddTail(CObList const *pList)
{
    if (!pList || pList == this)
        return;
    for (Node *n = pList->m_pHead; n; n = n->pNext)
        AddTail(n->data);
}

void CObList::RemoveAll()
{
    for (Node *n = m_pHead; n;) {
        Node *next = n->pNext;
        delete n;
        n = next;
    }
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
}

POSITION CObList::GetHeadPosition() const
{
    return P(m_pHead);
}

POSITION CObList::GetTailPosition() const
{
    return P(m_pTail);
}

CObject *&CObList::GetNext(POSITION &pos)
{
    Node *n = N(pos);
    pos = P(n->pNext);
    return n->data;
}

CObject *CObList::GetNext(POSITION &pos) const
{
    Node *n = N(pos);
    pos = P(n->pNext);
    return n->data;
}

CObject *&CObList::GetPrev(POSITION &pos)
{
    Node *n = N(pos);
    pos = P(n->pPrev);
    return n->data;
}

CObject *CObList::GetPrev(POSITION &pos) const
{
    Node *n = N(pos);
    pos = P(n->pPrev);
    return n->data;
}

CObject *&CObList::GetAt(POSITION pos)
{
    return N(pos)->data;
}

CObject *CObList::GetAt(POSITION pos) const
{
    return N(pos)->data;
}

void CObList::SetAt(POSITION pos, CObject *p)
{
    N(pos)->data = p;
}

void CObList::RemoveAt(POSITION pos)
{
    Node *n = N(pos);
    if (!n)
        return;
    (n->pPrev ? n->pPrev->pNext : m_pHead) = n->pNext;
    (n->pNext ? n->pNext->pPrev : m_pTail) = n->pPrev;
    delete n;
    --m_nCount;
}

POSITION CObList::InsertBefore(POSITION pos, CObject *p)
{
    Node *at = N(pos);
    if (!at)
        return AddHead(p);
    Node *n = new Node{at, at->pPrev, p};
    (at->pPrev ? at->pPrev->pNext : m_pHead) = n;
    at->pPrev = n;
    ++m_nCount;
    return P(n);
}

POSITION CObList::InsertAfter(POSITION pos, CObject *p)
{
    Node *at = N(pos);
    if (!at)
        return AddTail(p);
    Node *n = new Node{at->pNext, at, p};
    (at->pNext ? at->pNext->pPrev : m_pTail) = n;
    at->pNext = n;
    ++m_nCount;
    return P(n);
}

POSITION CObList::Find(CObject const *p, POSITION startAfter) const
{
    for (Node *n = startAfter ? N(startAfter)->pNext : m_pHead; n; n = n->pNext)
        if (n->data == p)
            return P(n);
    return nullptr;
}

POSITION CObList::FindIndex(int nIndex) const
{
    if (nIndex < 0)
        return nullptr;
    Node *n = m_pHead;
    while (n && nIndex--)
        n = n->pNext;
    return P(n);
}
