// The .bmp decoder: validates every header field and bound before it reads or allocates.
#include "toolkit/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/Platform.h"
#include "util/Errors.h"

namespace foyer {

namespace {

enum Compression : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kHeaderSizeOffset = kFileHeaderSize;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
// The three masks follow a 40-byte header and sit at the same place inside a V4 or V5 one.
constexpr size_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr size_t kMasksSize = 12;
// An optional colour table of a true-colour file only serves palette screens.
constexpr uint32_t kMaxOptionalColours = 256;
// The decoded pixels must stay addressable by the system's 32-bit bitmap calls.
constexpr uint64_t kMaxPixelBytes = INT32_MAX;

// Bounds-checked little-endian reads: a read past the end is a truncated file.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  size_t Size() const { return FSize; }

  // Throws unless count bytes from offset lie inside the file; sizes may exceed size_t's range.
  void Need(uint64_t offset, uint64_t count) const {
    if (offset > FSize || count > FSize - offset) throw EReadError();
  }

  const uint8_t* At(uint64_t offset, uint64_t count) const {
    Need(offset, count);
    return FData + static_cast<size_t>(offset);
  }

  uint16_t U16(size_t offset) const {
    const uint8_t* p = At(offset, 2);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }

  uint32_t U32(size_t offset) const {
    const uint8_t* p = At(offset, 4);
    return LittleEndian32(p);
  }

  static uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }

 private:
  const uint8_t* FData;
  size_t FSize;
};

// One colour channel of a 16- or 32-bit pixel, given by its mask.
class Channel {
 public:
  explicit Channel(uint32_t mask) {
    if (mask == 0) return;
    FShift = __builtin_ctz(mask);
    FMax = mask >> FShift;
    FBits = 32 - __builtin_clz(FMax);
  }

  // The channel of the pixel scaled to 0..255, so 5-bit 31 and 8-bit 255 are both full.
  uint32_t Of(uint32_t pixel) const {
    if (FBits == 0) return 0;
    const uint32_t value = (pixel >> FShift) & FMax;
    if (FBits >= 8) return value >> (FBits - 8);
    return (value * 255 + FMax / 2) / FMax;
  }

 private:
  int FShift = 0;
  int FBits = 0;
  uint32_t FMax = 0;
};

struct Header {
  uint32_t HeaderSize = 0;
  int32_t Width = 0;
  int32_t Height = 0;  // always positive; IsTopDown keeps the sign
  bool IsTopDown = false;
  uint32_t BitCount = 0;
  uint32_t Compression = kBiRgb;
  uint32_t ClrUsed = 0;
  uint64_t RowBytes = 0;   // a stored row, padded to four bytes
  uint32_t Masks[3] = {};  // red, green, blue
};

bool IsCore(const Header& header) {
  return header.HeaderSize == kCoreHeaderSize;
}

bool IsKnownBitCount(const Header& header) {
  switch (header.BitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32:
      return !IsCore(header);  // the core header predates them
    default:
      return false;
  }
}

bool CompressionFitsBitCount(const Header& header) {
  switch (header.Compression) {
    case kBiRgb:
      return true;
    case kBiRle8:
      return header.BitCount == 8;
    case kBiRle4:
      return header.BitCount == 4;
    case kBiBitfields:
      return header.BitCount == 16 || header.BitCount == 32;
    default:
      return false;
  }
}

bool IsRle(const Header& header) {
  return header.Compression == kBiRle4 || header.Compression == kBiRle8;
}

// A mask is one run of bits inside the pixel, and no two masks share a bit.
bool AreMasksValid(const Header& header) {
  uint32_t seen = 0;
  for (uint32_t mask : header.Masks) {
    if (header.BitCount == 16 && mask > 0xFFFF) return false;
    if (mask != 0) {
      const uint32_t run = mask >> __builtin_ctz(mask);
      if ((run & (run + 1)) != 0) return false;
    }
    if ((seen & mask) != 0) return false;
    seen |= mask;
  }
  return true;
}

Header ReadHeader(const Reader& in) {
  Header header;
  header.HeaderSize = in.U32(kHeaderSizeOffset);
  if (header.HeaderSize != kCoreHeaderSize && header.HeaderSize != kInfoHeaderSize &&
      header.HeaderSize != kV4HeaderSize && header.HeaderSize != kV5HeaderSize) {
    throw EInvalidGraphic::NotValid();
  }
  in.Need(kHeaderSizeOffset, header.HeaderSize);

  int32_t height = 0;
  uint16_t planes = 0;
  if (IsCore(header)) {
    header.Width = in.U16(18);
    height = in.U16(20);
    planes = in.U16(22);
    header.BitCount = in.U16(24);
  } else {
    header.Width = static_cast<int32_t>(in.U32(18));
    height = static_cast<int32_t>(in.U32(22));
    planes = in.U16(26);
    header.BitCount = in.U16(28);
    header.Compression = in.U32(30);
    header.ClrUsed = in.U32(46);
  }
  if (header.Width <= 0 || height == 0 || height == INT32_MIN || planes != 1 ||
      !IsKnownBitCount(header) || !CompressionFitsBitCount(header)) {
    throw EInvalidGraphic::NotValid();
  }
  header.IsTopDown = height < 0;
  header.Height = header.IsTopDown ? -height : height;
  // Run-length data is defined bottom-up only.
  if (header.IsTopDown && IsRle(header)) throw EInvalidGraphic::NotValid();

  // At most 32 bits a pixel, so this bound keeps the stored row size in range too.
  const uint64_t pixels =
      static_cast<uint64_t>(header.Width) * static_cast<uint64_t>(header.Height);
  if (pixels > kMaxPixelBytes / 4) throw EInvalidGraphic::NotValid();
  header.RowBytes = (static_cast<uint64_t>(header.Width) * header.BitCount + 31) / 32 * 4;
  if (IsRle(header) && pixels > kMaxRlePixels) throw EInvalidGraphic::NotValid();
  return header;
}

// The masks of 16- and 32-bit pixels: stored ones for bit fields, else 5-5-5 or 8-8-8.
void ReadMasks(const Reader& in, Header& header) {
  if (header.Compression == kBiBitfields) {
    for (size_t i = 0; i < 3; ++i)
      header.Masks[i] = in.U32(kMasksOffset + 4 * i);
    if (!AreMasksValid(header)) throw EInvalidGraphic::NotValid();
  } else if (header.BitCount == 16) {
    header.Masks[0] = 0x7C00;
    header.Masks[1] = 0x03E0;
    header.Masks[2] = 0x001F;
  } else if (header.BitCount == 32) {
    header.Masks[0] = 0xFF0000;
    header.Masks[1] = 0x00FF00;
    header.Masks[2] = 0x0000FF;
  }
}

// Reads the colour table and returns where it ends. Indexed pictures have 2^bpp entries unless
// biClrUsed names fewer; a true-colour picture's table is optional and capped.
size_t ReadPalette(const Reader& in, const Header& header, std::vector<uint32_t>& palette) {
  size_t offset = kFileHeaderSize + header.HeaderSize;
  if (header.HeaderSize == kInfoHeaderSize && header.Compression == kBiBitfields) {
    offset += kMasksSize;
  }
  uint32_t count = 0;
  if (header.BitCount <= 8) {
    const uint32_t full = uint32_t{1} << header.BitCount;
    count = header.ClrUsed == 0 || header.ClrUsed > full ? full : header.ClrUsed;
  } else {
    count = header.ClrUsed > kMaxOptionalColours ? kMaxOptionalColours : header.ClrUsed;
  }
  const size_t entrySize = IsCore(header) ? 3 : 4;  // RGBTRIPLE or RGBQUAD
  const uint8_t* table = in.At(offset, uint64_t{count} * entrySize);
  palette.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = table + i * entrySize;
    palette[i] = uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
  }
  return offset + count * entrySize;
}

uint32_t PaletteColour(const std::vector<uint32_t>& palette, uint32_t index) {
  return index < palette.size() ? palette[index] : 0;
}

void DecodeRow(const uint8_t* row, const Header& header, const Channel (&channels)[3],
               const std::vector<uint32_t>& palette, uint32_t* out) {
  const size_t width = static_cast<size_t>(header.Width);
  switch (header.BitCount) {
    case 1:
      for (size_t x = 0; x < width; ++x) {
        out[x] = PaletteColour(palette, (row[x / 8] >> (7 - x % 8)) & 1);
      }
      break;
    case 4:
      for (size_t x = 0; x < width; ++x) {
        out[x] = PaletteColour(palette, (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
      }
      break;
    case 8:
      for (size_t x = 0; x < width; ++x)
        out[x] = PaletteColour(palette, row[x]);
      break;
    case 24:
      for (size_t x = 0; x < width; ++x) {
        const uint8_t* p = row + 3 * x;
        out[x] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
      }
      break;
    default:
      for (size_t x = 0; x < width; ++x) {
        const uint32_t value = header.BitCount == 16
                                   ? uint32_t{row[2 * x]} | uint32_t{row[2 * x + 1]} << 8
                                   : Reader::LittleEndian32(row + 4 * x);
        out[x] = channels[0].Of(value) << 16 | channels[1].Of(value) << 8 | channels[2].Of(value);
      }
      break;
  }
}

void DecodeUncompressed(const Reader& in, uint64_t pixelOffset, const Header& header,
                        Picture& picture) {
  const uint8_t* rows = in.At(pixelOffset, header.RowBytes * static_cast<uint64_t>(header.Height));
  const size_t width = static_cast<size_t>(header.Width);
  const size_t height = static_cast<size_t>(header.Height);
  const size_t rowBytes = static_cast<size_t>(header.RowBytes);
  const Channel channels[3] = {Channel(header.Masks[0]), Channel(header.Masks[1]),
                               Channel(header.Masks[2])};
  picture.Pixels.resize(width * height);
  for (size_t fileRow = 0; fileRow < height; ++fileRow) {
    const size_t y = header.IsTopDown ? fileRow : height - 1 - fileRow;
    DecodeRow(rows + fileRow * rowBytes, header, channels, picture.Palette,
              picture.Pixels.data() + y * width);
  }
}

// Run-length data: a run (count, value), or an escape (0, code): 0 ends the line, 1 ends the
// picture, 2 moves right and up by the next two bytes, n >= 3 gives n literal indexes padded
// to a 16-bit boundary. RLE4 values hold two indexes, high nibble first, used alternately.
// The data may stop early between commands, leaving the rest black; a command cut short by the
// end of the file is a truncated file.
void DecodeRle(const Reader& in, uint64_t pixelOffset, const Header& header, Picture& picture) {
  const bool isRle4 = header.Compression == kBiRle4;
  const uint64_t width = static_cast<uint64_t>(header.Width);
  const uint64_t height = static_cast<uint64_t>(header.Height);
  picture.Pixels.assign(static_cast<size_t>(width * height), 0);
  uint64_t x = 0;
  uint64_t y = 0;  // counted from the bottom row, as the data runs
  // Callers keep x < width and y < height: pixels past the end of a row are dropped.
  auto put = [&](uint32_t index) {
    picture.Pixels[static_cast<size_t>((height - 1 - y) * width + x)] =
        PaletteColour(picture.Palette, index);
    ++x;
  };
  auto nibble = [](uint8_t pair, uint32_t i) -> uint32_t {
    return i % 2 == 0 ? pair >> 4 : pair & 0xF;
  };

  uint64_t pos = pixelOffset;
  while (y < height && pos < in.Size()) {
    const uint8_t* command = in.At(pos, 2);
    pos += 2;
    const uint32_t count = command[0];
    const uint32_t value = command[1];
    if (count > 0) {
      for (uint32_t i = 0; i < count && x < width; ++i)
        put(isRle4 ? nibble(value, i) : value);
      continue;
    }
    switch (value) {
      case 0:
        x = 0;
        ++y;
        break;
      case 1:
        return;
      case 2: {
        const uint8_t* delta = in.At(pos, 2);
        pos += 2;
        x += delta[0];
        y += delta[1];
        break;
      }
      default: {
        const uint32_t bytes = isRle4 ? (value + 1) / 2 : value;
        const uint32_t padded = (bytes + 1) & ~uint32_t{1};
        const uint8_t* literal = in.At(pos, padded);
        pos += padded;
        for (uint32_t i = 0; i < value && x < width; ++i) {
          put(isRle4 ? nibble(literal[i / 2], i) : literal[i]);
        }
        break;
      }
    }
  }
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The text after the last dot of the name part (after the last '\' or ':'), lower-cased.
std::string PictureExtension(const std::string& path) {
  const size_t nameStart = path.find_last_of("\\:");
  const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot + 1));
}

}  // namespace

Picture DecodeBitmap(const uint8_t* data, size_t size) {
  Picture picture;
  if (size == 0) return picture;
  const Reader in(data, size);
  in.Need(0, kFileHeaderSize);
  if (data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic::NotValid();
  const uint32_t pixelOffset = in.U32(10);

  Header header = ReadHeader(in);
  ReadMasks(in, header);
  const size_t tableEnd = ReadPalette(in, header, picture.Palette);
  // Pixels that start inside the headers or the colour table come from a lying file.
  if (pixelOffset < tableEnd) throw EInvalidGraphic::NotValid();

  picture.Width = header.Width;
  picture.Height = header.Height;
  if (IsRle(header)) {
    in.Need(pixelOffset, 0);
    DecodeRle(in, pixelOffset, header, picture);
  } else {
    DecodeUncompressed(in, pixelOffset, header, picture);
  }
  return picture;
}

Picture LoadPicture(const std::string& path) {
  const std::string extension = PictureExtension(path);
  if (extension != "bmp") throw EInvalidGraphic::UnknownExtension(extension);

  uint32_t error = kErrNone;
  const std::unique_ptr<IReadFile> file = Platform().Fs->OpenRead(path, error);
  if (!file) throw EFOpenError(path);
  // Read through the handle just opened: a failure now is a failed read, not a failed open.
  std::string content;
  char buffer[65536];
  for (;;) {
    size_t got = 0;
    if (file->Read(buffer, sizeof buffer, got) != kErrNone) throw EReadError();
    if (got == 0) break;
    content.append(buffer, got);
  }
  return DecodeBitmap(reinterpret_cast<const uint8_t*>(content.data()), content.size());
}

Picture Shaded(const Picture& picture, int32_t percent) {
  Picture shaded = picture;
  const int32_t amount = std::clamp(percent, -100, 100);
  for (uint32_t& pixel : shaded.Pixels) {
    uint32_t result = pixel & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      const auto channel = static_cast<int32_t>((pixel >> shift) & 0xFF);
      const int32_t target = amount > 0 ? 255 : 0;
      const int32_t moved = channel + (target - channel) * std::abs(amount) / 100;
      result |= static_cast<uint32_t>(moved) << shift;
    }
    pixel = result;
  }
  return shaded;
}

}  // namespace foyer
