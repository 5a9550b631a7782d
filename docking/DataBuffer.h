#pragma once
// DataBuffer: a growable byte buffer with one read/write cursor, the carrier
// of persisted docking layouts. Applications keep its bytes wherever they
// like (a file, a database column, the settings store) and hand them back
// through the constructor or SetData:
//
//     DataBuffer out;
//     position.WriteToDataBuffer(out);
//     Store(out.GetData(), out.GetSize());
//     ...
//     DataBuffer in(bytes, count);
//     bool whole = position.ReadFromDataBuffer(in);
//
// Byte format: every value is stored raw, little-endian, without padding:
//   int32, alignment      4 bytes
//   bool                  1 byte (0 or 1; any non-zero byte reads as true)
//   double                8 bytes, IEEE
//   Size, Point           two int32: cx/x then cy/y
//   CRectangle            four int32: left, top, right, bottom
//   SString               int32 length, then that many bytes, no terminator
//
// Sections make records extensible. A section is a 4-byte length followed
// by that many bytes. Sections are opened and closed by the scope classes
// LocalSizedWrite and LocalSizedRead; they nest up to DATABUFFER_MAX_DEPTH
// deep, and an opening beyond that is refused (the content then goes
// without a length, and a reader refuses the same opening, so both stay in
// step).
//
// Reading never runs past the innermost open section, nor past the data. A
// read that does not fit yields 0 (or an empty value), moves the cursor to
// that bound and counts a failure, so a truncated record reads as zeros
// from the cut onwards and its reader can tell by GetFailCount that it was
// not whole. A single read of more than DATABUFFER_MAX_READ bytes is refused
// the same way: a corrupt length cannot make the reader allocate without
// bound.
//
// Writes go to the cursor: they overwrite what lies there and grow the
// buffer at its end. The buffer never grows beyond DATABUFFER_MAX_SIZE; a
// write that would is dropped and counted as a failure.
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "text/SString.h"

// Nesting limit of sections.
constexpr int DATABUFFER_MAX_DEPTH = 8;
// The longest single read (a string's bytes or ReadBytes).
constexpr unsigned long DATABUFFER_MAX_READ = 0xFF00000;
// The most bytes a buffer holds, so that every position fits an int.
constexpr unsigned long DATABUFFER_MAX_SIZE = 0x7FFFFFFF;

class KSAPI DataBuffer
{
public:
    DataBuffer() noexcept;
    // A copy of n bytes at data, cursor at 0, ready to be read.
    DataBuffer(void const *data, unsigned long n);
    // Copies take the bytes, the cursor and the failure count, not the open
    // sections: sections belong to the scope objects of the original.
    DataBuffer(DataBuffer const &other);
    DataBuffer(DataBuffer &&other) noexcept;
    DataBuffer &operator=(DataBuffer const &other);
    DataBuffer &operator=(DataBuffer &&other) noexcept;
    ~DataBuffer();

    // The bytes and their count. The pointer (null while nothing was ever
    // stored) stays valid until the next write, SetData, Reserve or
    // assignment.
    unsigned char const *GetData() const noexcept { return m_pData; }
    unsigned long GetSize() const noexcept { return m_nSize; }
    bool IsEmpty() const noexcept { return m_nSize == 0; }

    // Replaces the content by a copy of n bytes; cursor 0, no open section,
    // failure count 0.
    void SetData(void const *data, unsigned long n);
    // Empties the buffer (keeping its memory for reuse), with the same reset.
    void Clear() noexcept;
    // Makes room for n bytes in all without changing the content.
    void Reserve(unsigned long n);

    // The cursor. SetPos refuses (false) a position beyond the data.
    unsigned long GetPos() const noexcept { return m_nPos; }
    bool SetPos(unsigned long pos) noexcept;
    // Bytes a read may still take: up to the innermost open section's end,
    // or to the end of the data.
    unsigned long GetRemaining() const noexcept;

    // Reads that came up short or were refused, and writes that were dropped,
    // since construction, SetData, Clear or ClearFailures.
    unsigned long GetFailCount() const noexcept { return m_nFailCount; }
    bool IsGood() const noexcept { return m_nFailCount == 0; }
    void ClearFailures() noexcept { m_nFailCount = 0; }

    void WriteInt32(int v);
    void WriteAlign(unsigned long align);
    void WriteBool(bool v);
    void WriteDouble(double v);
    void WriteSize(Size const &s);
    void WritePoint(Point const &p);
    void WriteRect(CRectangle const &r);
    // The whole text, embedded NULs included.
    void WriteString(SString const &s);
    void WriteBytes(void const *data, unsigned long n);

    int ReadInt32() noexcept;
    unsigned long ReadAlign() noexcept;
    bool ReadBool() noexcept;
    double ReadDouble() noexcept;
    Size ReadSize() noexcept;
    Point ReadPoint() noexcept;
    // A rectangle that does not fit reads as the default one (EMPTY right and
    // bottom), not as four zeros.
    CRectangle ReadRect() noexcept;
    // A length that does not fit the section, exceeds DATABUFFER_MAX_READ or
    // the longest SString gives the empty text.
    SString ReadString();
    // Copies n bytes to out; false (and out untouched) when they do not fit.
    bool ReadBytes(void *out, unsigned long n) noexcept;

    // Sections, normally through LocalSizedWrite and LocalSizedRead. Begin
    // answers whether a section was opened; End must be called exactly for
    // the openings that answered true, innermost first.
    int GetSectionDepth() const noexcept { return m_nDepth; }
    bool BeginWriteSection();
    void EndWriteSection();
    bool BeginReadSection() noexcept;
    void EndReadSection() noexcept;

private:
    struct Section
    {
        unsigned long nStart; // position of the length field
        unsigned long nEnd;   // read bound; unused for a write section
        bool bRead;
    };

    unsigned long ImpBound() const noexcept { return m_nReadEnd < m_nSize ? m_nReadEnd : m_nSize; }
    void ImpFindReadEnd() noexcept;
    // Room for n bytes at the cursor, or false (and the failure counted).
    bool ImpTake(unsigned long n) noexcept;
    void ImpRefuse() noexcept;
    bool ImpMakeRoom(unsigned long n);
    void ImpPut(void const *data, unsigned long n);
    void ImpPutU32(unsigned long v);
    unsigned long ImpGetU32() noexcept;
    void ImpFree() noexcept;

    unsigned char *m_pData;
    unsigned long m_nSize;
    unsigned long m_nCap;
    unsigned long m_nPos;
    unsigned long m_nFailCount;
    // End of the innermost open read section, ~0 when none is open: every
    // read checks against it, so it is kept rather than searched for.
    unsigned long m_nReadEnd;
    int m_nDepth;
    Section m_aSections[DATABUFFER_MAX_DEPTH];
};
