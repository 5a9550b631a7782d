#include "docking/DataBuffer.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

// Values go to memory as the processor holds them; the format is
// little-endian, and so is every processor this library runs on.
static_assert(std::endian::native == std::endian::little, "DataBuffer stores values in host order");

static constexpr unsigned long NO_READ_END = ~0ul;

DataBuffer::DataBuffer() noexcept
    : m_pData(nullptr), m_nSize(0), m_nCap(0), m_nPos(0), m_nFailCount(0), m_nReadEnd(NO_READ_END), m_nDepth(0),
      m_aSections{}
{
}

DataBuffer::DataBuffer(void const *data, unsigned long n) : DataBuffer()
{
    SetData(data, n);
}

DataBuffer::DataBuffer(DataBuffer const &other) : DataBuffer()
{
    SetData(other.m_pData, other.m_nSize);
    m_nPos = other.m_nPos;
    m_nFailCount = other.m_nFailCount;
}

DataBuffer::DataBuffer(DataBuffer &&other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)), m_nSize(std::exchange(other.m_nSize, 0)),
      m_nCap(std::exchange(other.m_nCap, 0)), m_nPos(std::exchange(other.m_nPos, 0)),
      m_nFailCount(std::exchange(other.m_nFailCount, 0)), m_nReadEnd(NO_READ_END), m_nDepth(0), m_aSections{}
{
    other.m_nDepth = 0;
    other.m_nReadEnd = NO_READ_END;
}

DataBuffer &DataBuffer::operator=(DataBuffer const &other)
{
    if (this != &other) {
        SetData(other.m_pData, other.m_nSize);
        m_nPos = other.m_nPos;
        m_nFailCount = other.m_nFailCount;
    }
    return *this;
}

DataBuffer &DataBuffer::operator=(DataBuffer &&other) noexcept
{
    if (this != &other) {
        ImpFree();
        m_pData = std::exchange(other.m_pData, nullptr);
        m_nSize = std::exchange(other.m_nSize, 0);
        m_nCap = std::exchange(other.m_nCap, 0);
        m_nPos = std::exchange(other.m_nPos, 0);
        m_nFailCount = std::exchange(other.m_nFailCount, 0);
        m_nDepth = 0;
        m_nReadEnd = NO_READ_END;
        other.m_nDepth = 0;
        other.m_nReadEnd = NO_READ_END;
    }
    return *this;
}

DataBuffer::~DataBuffer()
{
    ImpFree();
}

void DataBuffer::ImpFree() noexcept
{
    std::free(m_pData);
    m_pData = nullptr;
    m_nSize = m_nCap = m_nPos = 0;
}

void DataBuffer::SetData(void const *data, unsigned long n)
{
    Clear();
    if (!data || !n)
        return;
    if (n > DATABUFFER_MAX_SIZE) {
        ++m_nFailCount;
        return;
    }
    ImpMakeRoom(n);
    std::memmove(m_pData, data, n);
    m_nSize = n;
}

void DataBuffer::Clear() noexcept
{
    m_nSize = 0;
    m_nPos = 0;
    m_nFailCount = 0;
    m_nDepth = 0;
    m_nReadEnd = NO_READ_END;
}

void DataBuffer::Reserve(unsigned long n)
{
    if (n <= DATABUFFER_MAX_SIZE)
        ImpMakeRoom(n);
}

bool DataBuffer::ImpMakeRoom(unsigned long n)
{
    if (n <= m_nCap)
        return true;
    // Doubling keeps a long run of small writes linear.
    unsigned long long cap = m_nCap ? m_nCap * 2ull : 64ull;
    if (cap < n)
        cap = n;
    if (cap > DATABUFFER_MAX_SIZE)
        cap = DATABUFFER_MAX_SIZE;
    void *p = std::realloc(m_pData, std::size_t(cap));
    if (!p)
        throw std::bad_alloc();
    m_pData = static_cast<unsigned char *>(p);
    m_nCap = static_cast<unsigned long>(cap);
    return true;
}

bool DataBuffer::SetPos(unsigned long pos) noexcept
{
    if (pos > m_nSize)
        return false;
    m_nPos = pos;
    return true;
}

void DataBuffer::ImpFindReadEnd() noexcept
{
    m_nReadEnd = NO_READ_END;
    for (int i = m_nDepth - 1; i >= 0; --i) {
        if (m_aSections[i].bRead) {
            m_nReadEnd = m_aSections[i].nEnd;
            return;
        }
    }
}

unsigned long DataBuffer::GetRemaining() const noexcept
{
    unsigned long bound = ImpBound();
    return bound > m_nPos ? bound - m_nPos : 0;
}

bool DataBuffer::ImpTake(unsigned long n) noexcept
{
    unsigned long bound = ImpBound();
    if (m_nPos <= bound && n <= bound - m_nPos)
        return true;
    ImpRefuse();
    return false;
}

void DataBuffer::ImpRefuse() noexcept
{
    // Whatever follows a short or refused read is unreliable: the rest of
    // the section reads as missing too.
    unsigned long bound = ImpBound();
    if (m_nPos < bound)
        m_nPos = bound;
    ++m_nFailCount;
}

void DataBuffer::ImpPut(void const *data, unsigned long n)
{
    if (n <= m_nCap - m_nPos) [[likely]] {
        std::memcpy(m_pData + m_nPos, data, n);
        m_nPos += n;
        if (m_nPos > m_nSize)
            m_nSize = m_nPos;
        return;
    }
    if (n > DATABUFFER_MAX_SIZE - m_nPos) {
        ++m_nFailCount;
        return;
    }
    unsigned long end = m_nPos + n;
    ImpMakeRoom(end);
    std::memcpy(m_pData + m_nPos, data, n);
    m_nPos = end;
    if (end > m_nSize)
        m_nSize = end;
}

void DataBuffer::ImpPutU32(unsigned long v)
{
    unsigned int u = static_cast<unsigned int>(v);
    ImpPut(&u, 4);
}

unsigned long DataBuffer::ImpGetU32() noexcept
{
    if (!ImpTake(4))
        return 0;
    unsigned int u;
    std::memcpy(&u, m_pData + m_nPos, 4);
    m_nPos += 4;
    return u;
}

void DataBuffer::WriteInt32(int v)
{
    ImpPut(&v, 4);
}

void DataBuffer::WriteAlign(unsigned long align)
{
    ImpPutU32(align);
}

void DataBuffer::WriteBool(bool v)
{
    unsigned char b = v ? 1 : 0;
    ImpPut(&b, 1);
}

void DataBuffer::WriteDouble(double v)
{
    ImpPut(&v, 8);
}

void DataBuffer::WriteSize(Size const &s)
{
    int a[2] = {s.Width(), s.Height()};
    ImpPut(a, 8);
}

void DataBuffer::WritePoint(Point const &p)
{
    int a[2] = {p.X(), p.Y()};
    ImpPut(a, 8);
}

void DataBuffer::WriteRect(CRectangle const &r)
{
    int a[4] = {r.Left(), r.Top(), r.Right(), r.Bottom()};
    ImpPut(a, 16);
}

void DataBuffer::WriteString(SString const &s)
{
    unsigned long n = static_cast<unsigned long>(s.Len());
    // Length and bytes go together or not at all, so that a dropped text
    // cannot leave a length without its bytes.
    if (n > DATABUFFER_MAX_SIZE - 4 || m_nPos > DATABUFFER_MAX_SIZE - 4 - n) {
        ++m_nFailCount;
        return;
    }
    ImpMakeRoom(m_nPos + 4 + n);
    ImpPutU32(n);
    if (n)
        ImpPut(s.GetStr(), n);
}

void DataBuffer::WriteBytes(void const *data, unsigned long n)
{
    if (!n)
        return;
    if (!data) {
        ++m_nFailCount;
        return;
    }
    ImpPut(data, n);
}

int DataBuffer::ReadInt32() noexcept
{
    return static_cast<int>(ImpGetU32());
}

unsigned long DataBuffer::ReadAlign() noexcept
{
    return ImpGetU32();
}

bool DataBuffer::ReadBool() noexcept
{
    if (!ImpTake(1))
        return false;
    return m_pData[m_nPos++] != 0;
}

double DataBuffer::ReadDouble() noexcept
{
    if (!ImpTake(8))
        return 0.0;
    double v;
    std::memcpy(&v, m_pData + m_nPos, 8);
    m_nPos += 8;
    return v;
}

Size DataBuffer::ReadSize() noexcept
{
    if (!ImpTake(8))
        return Size();
    int a[2];
    std::memcpy(a, m_pData + m_nPos, 8);
    m_nPos += 8;
    return Size(a[0], a[1]);
}

Point DataBuffer::ReadPoint() noexcept
{
    if (!ImpTake(8))
        return Point();
    int a[2];
    std::memcpy(a, m_pData + m_nPos, 8);
    m_nPos += 8;
    return Point(a[0], a[1]);
}

CRectangle DataBuffer::ReadRect() noexcept
{
    if (!ImpTake(16))
        return CRectangle();
    int a[4];
    std::memcpy(a, m_pData + m_nPos, 16);
    m_nPos += 16;
    return CRectangle(a[0], a[1], a[2], a[3]);
}

SString DataBuffer::ReadString()
{
    unsigned long n = ImpGetU32();
    if (!n)
        return SString();
    if (n > DATABUFFER_MAX_READ || n > STR_MAX_LEN) {
        // Refused like a read past the end: the length is not to be trusted,
        // so neither is anything after it.
        ImpRefuse();
        return SString();
    }
    if (!ImpTake(n))
        return SString();
    SString s(reinterpret_cast<char const *>(m_pData + m_nPos), 0, static_cast<unsigned int>(n), true);
    m_nPos += n;
    return s;
}

bool DataBuffer::ReadBytes(void *out, unsigned long n) noexcept
{
    if (!n)
        return true;
    if (!out || n > DATABUFFER_MAX_READ) {
        ImpRefuse();
        return false;
    }
    if (!ImpTake(n))
        return false;
    std::memcpy(out, m_pData + m_nPos, n);
    m_nPos += n;
    return true;
}

bool DataBuffer::BeginWriteSection()
{
    if (m_nDepth >= DATABUFFER_MAX_DEPTH)
        return false;
    Section &s = m_aSections[m_nDepth++];
    s.nStart = m_nPos;
    s.nEnd = 0;
    s.bRead = false;
    ImpPutU32(0);
    return true;
}

void DataBuffer::EndWriteSection()
{
    if (m_nDepth <= 0 || m_aSections[m_nDepth - 1].bRead)
        return;
    Section const &s = m_aSections[--m_nDepth];
    // The placeholder may be missing when the buffer hit its size limit.
    if (s.nStart > m_nSize || m_nSize - s.nStart < 4)
        return;
    unsigned long end = m_nPos;
    unsigned long len = end >= s.nStart + 4 ? end - s.nStart - 4 : 0;
    m_nPos = s.nStart;
    ImpPutU32(len);
    m_nPos = end;
}

bool DataBuffer::BeginReadSection() noexcept
{
    if (m_nDepth >= DATABUFFER_MAX_DEPTH)
        return false;
    unsigned long start = m_nPos;
    unsigned long len = ImpGetU32();
    unsigned long bound = ImpBound();
    unsigned long end;
    if (m_nPos <= bound && len <= bound - m_nPos) {
        end = m_nPos + len;
    } else {
        // A length that claims more than there is: the record was cut.
        end = bound > m_nPos ? bound : m_nPos;
        ++m_nFailCount;
    }
    Section &s = m_aSections[m_nDepth++];
    s.nStart = start;
    s.nEnd = end;
    s.bRead = true;
    m_nReadEnd = end;
    return true;
}

void DataBuffer::EndReadSection() noexcept
{
    if (m_nDepth <= 0 || !m_aSections[m_nDepth - 1].bRead)
        return;
    Section const &s = m_aSections[--m_nDepth];
    m_nPos = s.nEnd <= m_nSize ? s.nEnd : m_nSize;
    ImpFindReadEnd();
}
