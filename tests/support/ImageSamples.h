#pragma once
// Images for the bitmap tests: pictures of pure colours made with GDI, their
// pixels read back, their encoded files, and the damage done to those files.
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

class Bitmap;

namespace kstest {

// 0xRRGGBB per pixel, rows top to bottom.
using Pixels = std::vector<std::uint32_t>;

// The eight pure colours GIF keeps exactly, magenta among them.
std::uint32_t PureColour(int i);
// A w x h picture in which neighbouring pixels mostly differ (odd sizes
// catch row padding mistakes); with blocks, squares of that side instead
// (what JPEG can keep).
Pixels Pattern(int w, int h, int blocks = 1);
// A 32-bit device-dependent bitmap of the pixels.
HBITMAP MakeHBitmap(int w, int h, Pixels const &rPixels);
// The pixels of any bitmap handle (not selected into a DC).
Pixels ReadPixels(HBITMAP h);
// The pixels of the bitmap's GDI handle (a GDI+ image flattened on magenta).
Pixels ReadPixels(Bitmap const &rBitmap);
// Mean absolute difference per channel.
double MeanError(Pixels const &a, Pixels const &b);

// A file in a folder of the test program's own under the temporary folder.
std::string TempFile(std::string const &rName);
std::vector<unsigned char> ReadBytes(std::string const &rPath);
bool WriteBytes(std::string const &rPath, std::vector<unsigned char> const &rBytes);
// The bitmap saved as a file of that extension, read back as bytes.
std::vector<unsigned char> Encode(Bitmap const &rBitmap, std::string const &rExt);

// PNG chunks: the offset of the first chunk of the type (its length field),
// or 0; and the chunk's CRC written again after its data changed.
std::size_t FindPngChunk(std::vector<unsigned char> const &rPng, char const *pType);
void FixPngCrc(std::vector<unsigned char> &rPng, std::size_t nChunk);

} // namespace kstest
