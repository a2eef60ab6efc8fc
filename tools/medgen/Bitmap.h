// Writes Windows bitmap files (bottom-up, 40-byte header): 24-bit true colour and 4- or 8-bit
// palette pictures, and the device-independent pixel rows that video frames reuse.
#pragma once

#include <cstdint>
#include <string>

#include "medgen/Picture.h"

namespace foyer::medgen {

constexpr uint32_t kBitmapFileHeaderSize = 14;
constexpr uint32_t kBitmapInfoHeaderSize = 40;

// Bytes in one stored row: rows are padded to a multiple of four bytes.
uint32_t DibRowBytes(int width, int bitsPerPixel);

// The 40-byte header, uncompressed, 96 pixels per inch.
void PutBitmapInfoHeader(std::string& out, int width, int height, int bitsPerPixel,
                         uint32_t colorsUsed);
// Palette entries as blue, green, red, zero; padded with black to paletteEntries.
void PutPalette(std::string& out, const IndexedImage& image, uint32_t paletteEntries);

// Pixel rows, bottom row first.
std::string DibPixels24(const Image& image);
std::string DibPixelsIndexed(const IndexedImage& image, int bitsPerPixel);

std::string MakeBmp24(const Image& image);
// bitsPerPixel is 4 or 8 and the palette must fit in it; the file carries the full palette.
std::string MakeBmpIndexed(const IndexedImage& image, int bitsPerPixel);
// Reduces the picture to 256 (8-bit) or 16 (4-bit) colours and writes it.
std::string MakeBmp8(const Image& image);
std::string MakeBmp4(const Image& image);

}  // namespace foyer::medgen
