// Writes Windows bitmap files (bottom-up, 40-byte header): 24-bit true colour and 4- or 8-bit
// palette pictures, and the device-independent pixel rows that video frames reuse.
#include "medgen/Bitmap.h"

#include <stdexcept>

#include "medgen/Bytes.h"

namespace foyer::medgen {

namespace {

constexpr uint32_t kPixelsPerMeter = 3780;  // 96 pixels per inch

}  // namespace

uint32_t DibRowBytes(int width, int bitsPerPixel) {
  return (static_cast<uint32_t>(width) * static_cast<uint32_t>(bitsPerPixel) + 31) / 32 * 4;
}

void PutBitmapInfoHeader(std::string& out, int width, int height, int bitsPerPixel,
                         uint32_t colorsUsed) {
  PutU32(out, kBitmapInfoHeaderSize);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));  // positive: bottom-up rows
  PutU16(out, 1);                              // planes
  PutU16(out, static_cast<uint16_t>(bitsPerPixel));
  PutU32(out, 0);  // BI_RGB
  PutU32(out, DibRowBytes(width, bitsPerPixel) * static_cast<uint32_t>(height));
  PutU32(out, kPixelsPerMeter);
  PutU32(out, kPixelsPerMeter);
  PutU32(out, colorsUsed);
  PutU32(out, 0);  // every colour is important
}

void PutPalette(std::string& out, const IndexedImage& image, uint32_t paletteEntries) {
  for (uint32_t i = 0; i < paletteEntries; ++i) {
    const Rgb c = i < image.Palette.size() ? image.Palette[i] : Rgb{};
    out.push_back(static_cast<char>(c.B));
    out.push_back(static_cast<char>(c.G));
    out.push_back(static_cast<char>(c.R));
    out.push_back(0);
  }
}

std::string DibPixels24(const Image& image) {
  const uint32_t rowBytes = DibRowBytes(image.Width(), 24);
  std::string out;
  out.reserve(rowBytes * static_cast<size_t>(image.Height()));
  for (int y = image.Height() - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb c = image.At(x, y);
      out.push_back(static_cast<char>(c.B));
      out.push_back(static_cast<char>(c.G));
      out.push_back(static_cast<char>(c.R));
    }
    out.resize(rowStart + rowBytes, '\0');
  }
  return out;
}

std::string DibPixelsIndexed(const IndexedImage& image, int bitsPerPixel) {
  if (bitsPerPixel != 4 && bitsPerPixel != 8) throw std::invalid_argument("4 or 8 bits per pixel");
  if (image.Palette.size() > (size_t{1} << bitsPerPixel)) {
    throw std::invalid_argument("the palette does not fit the pixel size");
  }
  const uint32_t rowBytes = DibRowBytes(image.Width, bitsPerPixel);
  std::string out;
  out.reserve(rowBytes * static_cast<size_t>(image.Height));
  for (int y = image.Height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    const uint8_t* row = image.Pixels.data() + static_cast<size_t>(y) * image.Width;
    if (bitsPerPixel == 8) {
      out.append(reinterpret_cast<const char*>(row), static_cast<size_t>(image.Width));
    } else {
      for (int x = 0; x < image.Width; x += 2) {
        const int high = row[x] & 0x0F;
        const int low = x + 1 < image.Width ? row[x + 1] & 0x0F : 0;
        out.push_back(static_cast<char>(high << 4 | low));
      }
    }
    out.resize(rowStart + rowBytes, '\0');
  }
  return out;
}

std::string MakeBmp24(const Image& image) {
  const std::string pixels = DibPixels24(image);
  const uint32_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
  std::string out = "BM";
  PutU32(out, SizeU32(offset + pixels.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutBitmapInfoHeader(out, image.Width(), image.Height(), 24, 0);
  out += pixels;
  return out;
}

std::string MakeBmpIndexed(const IndexedImage& image, int bitsPerPixel) {
  const std::string pixels = DibPixelsIndexed(image, bitsPerPixel);
  const uint32_t entries = uint32_t{1} << bitsPerPixel;
  const uint32_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + 4 * entries;
  std::string out = "BM";
  PutU32(out, SizeU32(offset + pixels.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutBitmapInfoHeader(out, image.Width, image.Height, bitsPerPixel, 0);
  PutPalette(out, image, entries);
  out += pixels;
  return out;
}

std::string MakeBmp8(const Image& image) {
  return MakeBmpIndexed(Quantize(image, 256, true), 8);
}

std::string MakeBmp4(const Image& image) {
  return MakeBmpIndexed(Quantize(image, 16, false), 4);
}

}  // namespace foyer::medgen
