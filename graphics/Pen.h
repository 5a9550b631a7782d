#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"

#include <windef.h>

class CPen;
struct PenBody;

// An outline description shared between copies; the platform pen is made the
// first time a device asks for it and kept until the last copy goes.
class KSAPI Pen
{
public:
    Pen() : m_pBody(nullptr) {}
    Pen(Color const &rColor, short nWidth, unsigned int nStyle);
    explicit Pen(unsigned int nStyle);
    // Borrows the pen's handle: it stays the caller's.
    explicit Pen(CPen *pPen);
    Pen(Pen const &rPen);
    Pen &operator=(Pen const &rPen);
    ~Pen();

    bool IsValid() const { return m_pBody != nullptr; }
    unsigned int GetStyle() const;
    short GetWidth() const;
    Color GetColor() const;
    bool operator==(Pen const &rPen) const;
    bool operator!=(Pen const &rPen) const { return !(*this == rPen); }
    HPEN GethPen();

private:
    void Release();
    PenBody *m_pBody;
};
