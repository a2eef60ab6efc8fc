// The medium generator: every file format it writes, read back field by field, and the shape of
// the demonstration medium, recorded in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "medgen/Artwork.h"
#include "medgen/Avi.h"
#include "medgen/Bitmap.h"
#include "medgen/Bytes.h"
#include "medgen/Content.h"
#include "medgen/Documents.h"
#include "medgen/FixedMath.h"
#include "medgen/FolderSink.h"
#include "medgen/Medium.h"
#include "medgen/Picture.h"
#include "medgen/Sound.h"
#include "medgen/Zip.h"
#include "toolkit/Bitmap.h"

namespace foyer::medgen {
namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

// ---------------------------------------------------------------------------------------------
// Readers for the formats, independent of the writers' code paths where it matters.

struct BmpInfo {
  uint32_t FileSize = 0;
  uint32_t OffBits = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int BitsPerPixel = 0;
  uint32_t Compression = 0;
  uint32_t ImageSize = 0;
  uint32_t ColorsUsed = 0;
};

std::optional<BmpInfo> ReadBmp(const std::string& file) {
  if (file.size() < 54 || file.compare(0, 2, "BM") != 0 || GetU32(file, 14) != 40) {
    return std::nullopt;
  }
  BmpInfo info;
  info.FileSize = GetU32(file, 2);
  info.OffBits = GetU32(file, 10);
  info.Width = static_cast<int32_t>(GetU32(file, 18));
  info.Height = static_cast<int32_t>(GetU32(file, 22));
  info.BitsPerPixel = GetU16(file, 28);
  info.Compression = GetU32(file, 30);
  info.ImageSize = GetU32(file, 34);
  info.ColorsUsed = GetU32(file, 46);
  return info;
}

// Header fields agree with each other and with the file's length.
AssertionResult IsValidBmp(const std::string& file) {
  const std::optional<BmpInfo> info = ReadBmp(file);
  if (!info) return AssertionFailure() << "no BM signature or no 40-byte header";
  if (info->FileSize != file.size()) return AssertionFailure() << "bfSize " << info->FileSize;
  if (info->Width <= 0 || info->Height <= 0) return AssertionFailure() << "not bottom-up";
  if (GetU16(file, 26) != 1) return AssertionFailure() << "planes";
  if (info->Compression != 0) return AssertionFailure() << "compressed";
  const int bpp = info->BitsPerPixel;
  if (bpp != 4 && bpp != 8 && bpp != 24) return AssertionFailure() << "depth " << bpp;
  const uint32_t paletteBytes = bpp == 24 ? 0 : 4u << bpp;
  if (info->OffBits != 54 + paletteBytes) return AssertionFailure() << "bfOffBits";
  const uint32_t rowBytes = (static_cast<uint32_t>(info->Width) * bpp + 31) / 32 * 4;
  if (info->ImageSize != rowBytes * static_cast<uint32_t>(info->Height)) {
    return AssertionFailure() << "biSizeImage " << info->ImageSize;
  }
  if (info->OffBits + info->ImageSize != file.size()) return AssertionFailure() << "pixel bytes";
  return AssertionSuccess();
}

// The colour of pixel (x, y), y counted from the top, of a valid bitmap.
Rgb BmpPixel(const std::string& file, int x, int y) {
  const BmpInfo info = *ReadBmp(file);
  const uint32_t rowBytes = (static_cast<uint32_t>(info.Width) * info.BitsPerPixel + 31) / 32 * 4;
  const size_t row = info.OffBits + rowBytes * static_cast<size_t>(info.Height - 1 - y);
  auto color = [&file](size_t at) {
    return Rgb{static_cast<uint8_t>(file.at(at + 2)), static_cast<uint8_t>(file.at(at + 1)),
               static_cast<uint8_t>(file.at(at))};
  };
  if (info.BitsPerPixel == 24) return color(row + 3 * static_cast<size_t>(x));
  uint8_t index =
      static_cast<uint8_t>(file.at(row + static_cast<size_t>(x) * info.BitsPerPixel / 8));
  if (info.BitsPerPixel == 4) index = x % 2 == 0 ? index >> 4 : index & 0x0F;
  return color(54 + 4 * size_t{index});
}

int AverageLuminance(const std::string& file) {
  const BmpInfo info = *ReadBmp(file);
  int64_t sum = 0;
  for (int y = 0; y < info.Height; ++y) {
    for (int x = 0; x < info.Width; ++x) {
      const Rgb c = BmpPixel(file, x, y);
      sum += (299 * c.R + 587 * c.G + 114 * c.B) / 1000;
    }
  }
  return static_cast<int>(sum / (int64_t{info.Width} * info.Height));
}

AssertionResult IsValidWav(const std::string& file) {
  if (file.size() < 44 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 8, "WAVEfmt ") != 0) {
    return AssertionFailure() << "no RIFF WAVE with a leading fmt chunk";
  }
  if (GetU32(file, 4) != file.size() - 8) return AssertionFailure() << "RIFF size";
  if (GetU32(file, 16) != 16 || GetU16(file, 20) != 1) return AssertionFailure() << "not PCM";
  const uint16_t channels = GetU16(file, 22);
  const uint32_t rate = GetU32(file, 24);
  const uint16_t blockAlign = GetU16(file, 32);
  const uint16_t bits = GetU16(file, 34);
  if (blockAlign != channels * bits / 8) return AssertionFailure() << "block align";
  if (GetU32(file, 28) != rate * blockAlign) return AssertionFailure() << "byte rate";
  if (file.compare(36, 4, "data") != 0) return AssertionFailure() << "no data chunk";
  const uint32_t dataSize = GetU32(file, 40);
  if (dataSize % blockAlign != 0) return AssertionFailure() << "partial sample frame";
  if (44 + dataSize + dataSize % 2 != file.size()) return AssertionFailure() << "data size";
  return AssertionSuccess();
}

double WavSeconds(const std::string& file) {
  return static_cast<double>(GetU32(file, 40)) / GetU32(file, 28);
}

uint32_t ReadVarLen(const std::string& data, size_t& pos) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const auto byte = static_cast<uint8_t>(data.at(pos++));
    value = value << 7 | (byte & 0x7F);
    if ((byte & 0x80) == 0) return value;
  }
  throw std::runtime_error("variable-length number longer than four bytes");
}

struct MidiSummary {
  int Format = -1;
  int TrackCount = 0;
  int NoteOns = 0;
  int NoteOffs = 0;
  uint32_t LongestTrackTicks = 0;
};

// Walks chunks and events; any inconsistency is a failure with the reason.
AssertionResult ReadMidi(const std::string& file, MidiSummary& summary) {
  if (file.size() < 14 || file.compare(0, 4, "MThd") != 0 || GetBE32(file, 4) != 6) {
    return AssertionFailure() << "no 6-byte MThd";
  }
  summary.Format = GetBE16(file, 8);
  const int declaredTracks = GetBE16(file, 10);
  size_t pos = 14;
  while (pos < file.size()) {
    if (file.compare(pos, 4, "MTrk") != 0) return AssertionFailure() << "chunk at " << pos;
    const size_t end = pos + 8 + GetBE32(file, pos + 4);
    if (end > file.size()) return AssertionFailure() << "track runs past the end";
    size_t at = pos + 8;
    uint32_t ticks = 0;
    bool hasEnded = false;
    while (at < end && !hasEnded) {
      ticks += ReadVarLen(file, at);
      const auto status = static_cast<uint8_t>(file.at(at++));
      if (status == 0xFF) {
        const auto type = static_cast<uint8_t>(file.at(at++));
        at += ReadVarLen(file, at);
        hasEnded = type == 0x2F;
      } else if ((status & 0xF0) == 0x90) {
        summary.NoteOns += 1;
        at += 2;
      } else if ((status & 0xF0) == 0x80) {
        summary.NoteOffs += 1;
        at += 2;
      } else if ((status & 0xF0) == 0xC0) {
        at += 1;
      } else {
        return AssertionFailure() << "unexpected status byte " << int{status};
      }
    }
    if (!hasEnded || at != end) return AssertionFailure() << "track does not end at its length";
    summary.LongestTrackTicks = std::max(summary.LongestTrackTicks, ticks);
    ++summary.TrackCount;
    pos = end;
  }
  if (summary.TrackCount != declaredTracks) return AssertionFailure() << "track count";
  if (summary.NoteOns != summary.NoteOffs) return AssertionFailure() << "notes left sounding";
  return AssertionSuccess();
}

AssertionResult IsValidMidi(const std::string& file) {
  MidiSummary summary;
  return ReadMidi(file, summary);
}

struct AviSummary {
  uint32_t FrameCount = 0;
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t MicrosPerFrame = 0;
  std::vector<std::string> Frames;
};

// Every chunk's size fits its parent exactly; every index entry points at its frame chunk.
AssertionResult ReadAvi(const std::string& file, AviSummary& summary) {
  if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "AVI ") != 0) {
    return AssertionFailure() << "no RIFF AVI";
  }
  if (GetU32(file, 4) != file.size() - 8) return AssertionFailure() << "RIFF size";
  std::map<std::string, size_t> found;  // chunk path -> position of its data
  std::vector<size_t> frameChunks;
  size_t moviType = 0;
  std::vector<std::string> order;
  // Depth-first over (start, end, path prefix).
  std::vector<std::tuple<size_t, size_t, std::string>> pending = {{12, file.size(), ""}};
  while (!pending.empty()) {
    auto [pos, end, prefix] = pending.back();
    pending.pop_back();
    while (pos < end) {
      if (pos + 8 > end) return AssertionFailure() << "chunk header past its parent";
      const std::string id = file.substr(pos, 4);
      const uint32_t size = GetU32(file, pos + 4);
      if (pos + 8 + size > end) return AssertionFailure() << id << " past its parent";
      if (id == "LIST") {
        const std::string type = file.substr(pos + 8, 4);
        order.push_back(prefix + type);
        if (type == "movi") moviType = pos + 8;
        pending.push_back({pos + 12, pos + 8 + size, prefix + type + "/"});
      } else if (id == "00db") {
        frameChunks.push_back(pos);
      } else {
        order.push_back(prefix + id);
        found[prefix + id] = pos + 8;
      }
      pos += 8 + size + size % 2;
    }
    if (pos != end) return AssertionFailure() << "children overrun " << prefix;
  }
  for (const char* path : {"hdrl/avih", "hdrl/strl/strh", "hdrl/strl/strf", "idx1"}) {
    if (found.count(path) == 0) return AssertionFailure() << "missing " << path;
  }
  if (moviType == 0) return AssertionFailure() << "missing movi";
  const size_t avih = found["hdrl/avih"];
  const size_t strh = found["hdrl/strl/strh"];
  const size_t strf = found["hdrl/strl/strf"];
  if (GetU32(file, avih - 4) != 56 || GetU32(file, strh - 4) != 56) {
    return AssertionFailure() << "avih or strh not 56 bytes";
  }
  if (file.compare(strh, 8, "vidsDIB ") != 0) return AssertionFailure() << "not a DIB video";
  summary.MicrosPerFrame = GetU32(file, avih);
  summary.FrameCount = GetU32(file, avih + 16);
  summary.Width = GetU32(file, avih + 32);
  summary.Height = GetU32(file, avih + 36);
  if (GetU32(file, strh + 32) != summary.FrameCount) return AssertionFailure() << "strh length";
  if (GetU32(file, strf + 4) != summary.Width || GetU32(file, strf + 8) != summary.Height) {
    return AssertionFailure() << "strf size differs from avih";
  }
  if (frameChunks.size() != summary.FrameCount) return AssertionFailure() << "frame count";
  const uint32_t frameBytes = (summary.Width * 3 + 3) / 4 * 4 * summary.Height;
  const size_t idx1 = found["idx1"];
  if (GetU32(file, idx1 - 4) != 16 * summary.FrameCount) return AssertionFailure() << "idx1 size";
  for (size_t i = 0; i < frameChunks.size(); ++i) {
    const size_t entry = idx1 + 16 * i;
    if (file.compare(entry, 4, "00db") != 0) return AssertionFailure() << "index id " << i;
    if (moviType + GetU32(file, entry + 8) != frameChunks[i]) {
      return AssertionFailure() << "index offset of frame " << i;
    }
    if (GetU32(file, entry + 12) != frameBytes || GetU32(file, frameChunks[i] + 4) != frameBytes) {
      return AssertionFailure() << "frame size " << i;
    }
    summary.Frames.push_back(file.substr(frameChunks[i] + 8, frameBytes));
  }
  return AssertionSuccess();
}

AssertionResult IsValidAvi(const std::string& file) {
  AviSummary summary;
  return ReadAvi(file, summary);
}

struct ZipMember {
  std::string Name;
  std::string Data;
  uint32_t ExternalAttr = 0;
};

// Reads the archive from its end record, as unzip programs do, and checks every local header.
AssertionResult ReadZip(const std::string& file, std::vector<ZipMember>& members) {
  const size_t end = file.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos || end + 22 > file.size()) return AssertionFailure() << "no end";
  if (end + 22 + GetU16(file, end + 20) != file.size()) return AssertionFailure() << "comment";
  const uint16_t count = GetU16(file, end + 10);
  const uint32_t directorySize = GetU32(file, end + 12);
  const uint32_t directoryOffset = GetU32(file, end + 16);
  if (directoryOffset + directorySize != end) return AssertionFailure() << "directory bounds";
  size_t pos = directoryOffset;
  for (uint16_t i = 0; i < count; ++i) {
    if (GetU32(file, pos) != 0x02014B50) return AssertionFailure() << "central header " << i;
    const uint32_t crc = GetU32(file, pos + 16);
    const uint32_t size = GetU32(file, pos + 20);
    const uint16_t nameLength = GetU16(file, pos + 28);
    const size_t skip = size_t{nameLength} + GetU16(file, pos + 30) + GetU16(file, pos + 32);
    const uint32_t local = GetU32(file, pos + 42);
    ZipMember member{file.substr(pos + 46, nameLength), "", GetU32(file, pos + 38)};
    if (GetU32(file, local) != 0x04034B50) return AssertionFailure() << "local header " << i;
    if (GetU16(file, local + 8) != 0) return AssertionFailure() << "not stored";
    if (GetU32(file, local + 14) != crc || GetU32(file, local + 18) != size ||
        GetU32(file, local + 22) != size) {
      return AssertionFailure() << "local and central headers disagree for " << member.Name;
    }
    if (file.substr(local + 30, GetU16(file, local + 26)) != member.Name) {
      return AssertionFailure() << "local name of " << member.Name;
    }
    member.Data =
        file.substr(local + 30 + GetU16(file, local + 26) + GetU16(file, local + 28), size);
    if (Crc32(member.Data) != crc) return AssertionFailure() << "CRC of " << member.Name;
    members.push_back(member);
    pos += 46 + skip;
  }
  if (pos != end) return AssertionFailure() << "directory size";
  return AssertionSuccess();
}

AssertionResult IsValidZip(const std::string& file) {
  std::vector<ZipMember> members;
  return ReadZip(file, members);
}

// Braces balance, never close more than they opened, and the document is one group.
AssertionResult IsValidRtf(const std::string& file) {
  if (file.compare(0, 6, "{\\rtf1") != 0) return AssertionFailure() << "no {\\rtf1";
  int depth = 0;
  size_t closedAt = std::string::npos;
  for (size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\\') {
      ++i;  // an escaped brace or backslash is text
    } else if (file[i] == '{') {
      if (closedAt != std::string::npos) return AssertionFailure() << "text after the document";
      ++depth;
    } else if (file[i] == '}') {
      if (--depth < 0) return AssertionFailure() << "unbalanced } at " << i;
      if (depth == 0) closedAt = i;
    }
  }
  if (depth != 0) return AssertionFailure() << depth << " groups left open";
  return AssertionSuccess();
}

// Every line ends in CR LF: no CR or LF appears alone.
AssertionResult HasOnlyCrLfLines(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) {
      return AssertionFailure() << "lone CR at " << i;
    }
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      return AssertionFailure() << "lone LF at " << i;
    }
  }
  if (!text.empty() && text.back() != '\n') return AssertionFailure() << "last line not ended";
  return AssertionSuccess();
}

std::string Extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('\\');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

// ---------------------------------------------------------------------------------------------
// Bytes and integer arithmetic.

TEST(ByteOrder, LittleEndianPutsTheLowByteFirstAndBigEndianLast) {
  std::string out;
  PutU16(out, 0x1234);
  PutU32(out, 0x89ABCDEF);
  PutBE16(out, 0x1234);
  PutBE32(out, 0x89ABCDEF);
  EXPECT_EQ(out, std::string("\x34\x12\xEF\xCD\xAB\x89\x12\x34\x89\xAB\xCD\xEF", 12));
  EXPECT_EQ(GetU32(out, 2), 0x89ABCDEFu);
  EXPECT_EQ(GetBE32(out, 8), 0x89ABCDEFu);
  PatchU32(out, 0, 0x01020304);
  EXPECT_EQ(GetU32(out, 0), 0x01020304u);
  EXPECT_THROW(PatchU32(out, out.size() - 3, 0), std::out_of_range);
}

TEST(ByteOrder, MidiLengthsUseSevenBitGroupsWithContinuationBits) {
  const std::pair<uint32_t, std::string> cases[] = {{0, std::string(1, '\0')},
                                                    {0x7F, "\x7F"},
                                                    {0x80, std::string("\x81\x00", 2)},
                                                    {0x2000, std::string("\xC0\x00", 2)},
                                                    {0x3FFF, "\xFF\x7F"},
                                                    {0x4000, std::string("\x81\x80\x00", 3)},
                                                    {0x0FFFFFFF, "\xFF\xFF\xFF\x7F"}};
  for (const auto& [value, bytes] : cases) {
    std::string out;
    PutVarLen(out, value);
    EXPECT_EQ(out, bytes) << value;
  }
  std::string out;
  EXPECT_THROW(PutVarLen(out, 0x10000000), std::invalid_argument);
}

TEST(FixedMath, SineHitsItsQuarterTurnsExactlyAndStaysCloseElsewhere) {
  EXPECT_EQ(Sine(0), 0);
  EXPECT_EQ(Sine(kPhaseTurn / 4), kSineOne);
  EXPECT_EQ(Sine(kPhaseTurn / 2), 0);
  EXPECT_EQ(Sine(kPhaseTurn * 3 / 4), -kSineOne);
  EXPECT_EQ(Sine(-kPhaseTurn / 4), -kSineOne);
  EXPECT_EQ(Cosine(0), kSineOne);
  for (int32_t phase = -kPhaseTurn; phase <= 2 * kPhaseTurn; phase += 397) {
    const double exact = std::sin(phase * 2 * std::numbers::pi / kPhaseTurn) * kSineOne;
    EXPECT_NEAR(Sine(phase), exact, kSineOne * 0.002) << phase;
  }
}

TEST(FixedMath, SquareRootRoundsDown) {
  EXPECT_EQ(ISqrt(0), 0u);
  EXPECT_EQ(ISqrt(1), 1u);
  EXPECT_EQ(ISqrt(15), 3u);
  EXPECT_EQ(ISqrt(16), 4u);
  EXPECT_EQ(ISqrt(uint64_t{4294967295} * 4294967295), 4294967295u);
}

// ---------------------------------------------------------------------------------------------
// Bitmaps.

TEST(BitmapWriter, TrueColourRowsArePaddedAndStoredBottomUp) {
  Image image(5, 3, {10, 20, 30});
  image.Set(0, 2, {255, 0, 0});  // bottom-left
  image.Set(4, 0, {0, 0, 255});  // top-right
  const std::string file = MakeBmp24(image);
  ASSERT_TRUE(IsValidBmp(file));
  const BmpInfo info = *ReadBmp(file);
  EXPECT_EQ(info.Width, 5);
  EXPECT_EQ(info.Height, 3);
  EXPECT_EQ(info.BitsPerPixel, 24);
  EXPECT_EQ(info.OffBits, 54u);
  EXPECT_EQ(info.ImageSize, 3u * 16u);                            // 15 bytes a row, padded to 16
  EXPECT_EQ(file.substr(54, 3), std::string("\x00\x00\xFF", 3));  // stored as blue, green, red
  EXPECT_EQ(file[54 + 15], '\0');
  EXPECT_EQ(BmpPixel(file, 4, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(BmpPixel(file, 2, 1), (Rgb{10, 20, 30}));
}

TEST(BitmapWriter, PaletteFilesCarryTheFullColourTable) {
  Image image(3, 2, {200, 100, 50});
  image.Set(1, 0, {1, 2, 3});
  const std::string eight = MakeBmp8(image);
  ASSERT_TRUE(IsValidBmp(eight));
  EXPECT_EQ(ReadBmp(eight)->OffBits, 54u + 1024u);
  EXPECT_EQ(ReadBmp(eight)->ImageSize, 2u * 4u);
  EXPECT_EQ(BmpPixel(eight, 1, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(BmpPixel(eight, 2, 1), (Rgb{200, 100, 50}));
  const std::string four = MakeBmp4(image);
  ASSERT_TRUE(IsValidBmp(four));
  EXPECT_EQ(ReadBmp(four)->BitsPerPixel, 4);
  EXPECT_EQ(ReadBmp(four)->OffBits, 54u + 64u);
  EXPECT_EQ(ReadBmp(four)->ImageSize, 2u * 4u);
  for (int x = 0; x < 3; ++x) {
    for (int y = 0; y < 2; ++y)
      EXPECT_EQ(BmpPixel(four, x, y), image.At(x, y)) << x << "," << y;
  }
}

TEST(BitmapWriter, RefusesAPaletteLargerThanThePixelSize) {
  IndexedImage image{1, 1, std::vector<Rgb>(17), {0}};
  EXPECT_THROW(MakeBmpIndexed(image, 4), std::invalid_argument);
  EXPECT_THROW(MakeBmpIndexed(image, 2), std::invalid_argument);
}

TEST(Quantizer, KeepsFewColoursExactlyAndApproximatesManyClosely) {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      image.Set(x, y, {static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4), 128});
    }
  }
  const IndexedImage reduced = Quantize(image, 256, false);
  ASSERT_LE(reduced.Palette.size(), 256u);
  ASSERT_EQ(reduced.Pixels.size(), 64u * 64u);
  for (int y = 0; y < 64; y += 7) {
    for (int x = 0; x < 64; x += 7) {
      const Rgb got = reduced.Palette[reduced.Pixels[static_cast<size_t>(y * 64 + x)]];
      EXPECT_NEAR(got.R, x * 4, 16);
      EXPECT_NEAR(got.G, y * 4, 16);
    }
  }
  const IndexedImage exact = Quantize(Image(8, 8, {9, 8, 7}), 16, true);
  EXPECT_EQ(exact.Palette, std::vector<Rgb>{(Rgb{9, 8, 7})});
}

TEST(BitmapWriter, TheProgramsDecoderReadsBackTheSamePixels) {
  const Image image = PreviewPicture(Pictogram::Globe, "ATLAS");
  const std::string file = MakeBmp24(image);
  const Picture picture = DecodeBitmap(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  ASSERT_EQ(picture.Width, image.Width());
  ASSERT_EQ(picture.Height, image.Height());
  for (int y = 0; y < image.Height(); y += 5) {
    for (int x = 0; x < image.Width(); x += 5) {
      const Rgb c = image.At(x, y);
      EXPECT_EQ(picture.Pixels[static_cast<size_t>(y * image.Width() + x)],
                uint32_t{c.R} << 16 | uint32_t{c.G} << 8 | c.B);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Sounds.

TEST(WaveWriter, ChunkSizesAndFormatFieldsAgree) {
  const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768};
  const std::string mono16 = MakeWav(samples, {8000, 1, 16});
  ASSERT_TRUE(IsValidWav(mono16));
  EXPECT_EQ(GetU32(mono16, 40), 10u);
  EXPECT_EQ(GetU16(mono16, 44 + 6), 32767);
  const std::string mono8 = MakeWav(samples, {8000, 1, 8});
  ASSERT_TRUE(IsValidWav(mono8));
  EXPECT_EQ(GetU32(mono8, 40), 5u);
  EXPECT_EQ(mono8.size(), 44u + 6u);                // odd data padded to an even chunk
  EXPECT_EQ(static_cast<uint8_t>(mono8[44]), 128);  // 8-bit silence is the middle value
  EXPECT_EQ(static_cast<uint8_t>(mono8[47]), 255);
  EXPECT_EQ(static_cast<uint8_t>(mono8[48]), 0);
  const std::string stereo = MakeWav(Interleave({1, 2, 3}, {4}), {8000, 2, 16});
  ASSERT_TRUE(IsValidWav(stereo));
  EXPECT_EQ(GetU32(stereo, 40), 12u);
  EXPECT_EQ(GetU16(stereo, 44 + 6), 0);  // the short channel continues in silence
  EXPECT_THROW(MakeWav(samples, {8000, 3, 16}), std::invalid_argument);
}

TEST(WaveWriter, DemonstrationSoundsAreShortAudibleTones) {
  for (const std::string& file :
       {MakeChimeWav(), MakeBellWav(), MakeSweepWav(), MakeFanfareWav()}) {
    ASSERT_TRUE(IsValidWav(file));
    EXPECT_GT(WavSeconds(file), 0.8);
    EXPECT_LT(WavSeconds(file), 4.0);
    int peak = 0;
    if (GetU16(file, 34) == 16) {
      for (size_t at = 44; at + 1 < file.size(); at += 2) {
        peak = std::max(peak, std::abs(static_cast<int16_t>(GetU16(file, at))));
      }
    } else {
      for (size_t at = 44; at < file.size(); ++at) {
        peak = std::max(peak, std::abs((static_cast<uint8_t>(file[at]) - 128) * 256));
      }
    }
    EXPECT_GT(peak, 4000) << "too quiet to hear";
  }
  EXPECT_EQ(GetU16(MakeFanfareWav(), 22), 2);
  EXPECT_EQ(GetU16(MakeSweepWav(), 34), 8);
}

TEST(WaveSynthesis, NoteFrequenciesFollowTheOctaves) {
  EXPECT_EQ(KeyFrequencyCentiHz(69), 44000);
  EXPECT_EQ(KeyFrequencyCentiHz(81), 88000);
  EXPECT_EQ(KeyFrequencyCentiHz(57), 22000);
  EXPECT_EQ(KeyFrequencyCentiHz(60), 26163);
  EXPECT_EQ(KeyFrequencyCentiHz(59), 49388 / 2);
}

TEST(MidiWriter, MelodyTextGivesKeysLengthsAndRests) {
  const std::vector<MidiNote> notes = ParseMelody("C4:2 R:1 D#4:1 Bb3:4", 10, 5, 90);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].Key, 60);
  EXPECT_EQ(notes[0].Start, 5u);
  EXPECT_EQ(notes[1].Key, 63);
  EXPECT_EQ(notes[1].Start, 35u);
  EXPECT_EQ(notes[2].Key, 58);
  EXPECT_EQ(notes[2].Start, 45u);
  EXPECT_LE(notes[2].Length, 40u);
  EXPECT_GT(notes[2].Length, 30u);
  EXPECT_EQ(notes[0].Velocity, 90);
  EXPECT_THROW(ParseMelody("C4", 10), std::invalid_argument);
  EXPECT_THROW(ParseMelody("H4:1", 10), std::invalid_argument);
  EXPECT_THROW(ParseMelody("C:1", 10), std::invalid_argument);
}

TEST(MidiWriter, ChunkLengthsAndTrackCountsMatchTheFormat) {
  MidiSong song;
  song.Tracks.push_back({"a", 0, 0, ParseMelody("C4:1 C4:1 E4:2", 48)});
  song.Tracks.push_back({"b", 1, 32, ParseMelody("C3:4", 48)});
  MidiSummary one;
  ASSERT_TRUE(ReadMidi(MakeMidi(song, 1), one));
  EXPECT_EQ(one.Format, 1);
  EXPECT_EQ(one.TrackCount, 3);  // the tempo track and one per part
  EXPECT_EQ(one.NoteOns, 4);
  MidiSummary zero;
  ASSERT_TRUE(ReadMidi(MakeMidi(song, 0), zero));
  EXPECT_EQ(zero.Format, 0);
  EXPECT_EQ(zero.TrackCount, 1);
  EXPECT_EQ(zero.NoteOns, 4);
  EXPECT_THROW(MakeMidi(song, 2), std::invalid_argument);
}

TEST(MidiWriter, DemonstrationSongsAreShortMelodiesInBothFormats) {
  std::set<int> formats;
  for (const std::string& file :
       {MakeMinuetMidi(), MakeOdeMidi(), MakeSaintsMidi(), MakeJingleMidi()}) {
    MidiSummary summary;
    ASSERT_TRUE(ReadMidi(file, summary));
    formats.insert(summary.Format);
    EXPECT_GE(summary.NoteOns, 8);
    EXPECT_LE(summary.LongestTrackTicks, 96u * 24) << "longer than 24 quarter notes";
  }
  EXPECT_EQ(formats, (std::set<int>{0, 1}));
}

// ---------------------------------------------------------------------------------------------
// Video.

TEST(AviWriter, ListsNestAndTheIndexPointsAtEveryFrame) {
  std::vector<Image> frames = {Image(7, 3, {1, 2, 3}), Image(7, 3, {4, 5, 6}), Image(7, 3)};
  const std::string file = MakeAvi(frames, 5);
  AviSummary summary;
  ASSERT_TRUE(ReadAvi(file, summary));
  EXPECT_EQ(summary.FrameCount, 3u);
  EXPECT_EQ(summary.Width, 7u);
  EXPECT_EQ(summary.Height, 3u);
  EXPECT_EQ(summary.MicrosPerFrame, 200000u);
  EXPECT_EQ(summary.Frames[0], DibPixels24(frames[0]));
  EXPECT_EQ(summary.Frames[2], DibPixels24(frames[2]));
}

TEST(AviWriter, RefusesFramesOfDifferentSizesAndEmptyVideos) {
  EXPECT_THROW(MakeAvi({Image(4, 4), Image(4, 5)}, 10), std::invalid_argument);
  EXPECT_THROW(MakeAvi({}, 10), std::invalid_argument);
  EXPECT_THROW(MakeAvi({Image(4, 4)}, 0), std::invalid_argument);
}

TEST(AviWriter, DemonstrationVideosMoveForOneToTwoSeconds) {
  for (const std::string& file : {MakeBounceAvi(), MakeOrbitAvi(), MakeIntroAvi()}) {
    AviSummary summary;
    ASSERT_TRUE(ReadAvi(file, summary));
    const double seconds = summary.FrameCount * summary.MicrosPerFrame / 1e6;
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 2.0);
    EXPECT_NE(summary.Frames.front(), summary.Frames[summary.Frames.size() / 2]) << "no motion";
  }
}

// ---------------------------------------------------------------------------------------------
// Archives.

TEST(ZipWriter, CrcMatchesTheStandardCheckValue) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(ZipWriter, CentralDirectoryPointsAtEachLocalHeader) {
  const std::string file = MakeZip(
      {{"a.txt", "alpha"}, {"sub/", ""}, {"sub/deeper/b.bin", std::string("\0\1\2", 3)}}, "hi");
  std::vector<ZipMember> members;
  ASSERT_TRUE(ReadZip(file, members));
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[0].Name, "a.txt");
  EXPECT_EQ(members[0].Data, "alpha");
  EXPECT_EQ(members[1].ExternalAttr, 0x10u);  // a folder
  EXPECT_EQ(members[2].Data, std::string("\0\1\2", 3));
  EXPECT_EQ(file.substr(file.size() - 2), "hi");
}

TEST(ZipWriter, DemonstrationArchivesHoldFilesInSubFolders) {
  for (const std::string& file : {MakeFontsZip(), MakeIconsZip(), MakeToolsZip()}) {
    std::vector<ZipMember> members;
    ASSERT_TRUE(ReadZip(file, members));
    EXPECT_GE(members.size(), 3u);
    bool hasNestedFile = false;
    for (const ZipMember& member : members) {
      hasNestedFile |= member.Name.find('/') != std::string::npos && member.Name.back() != '/';
    }
    EXPECT_TRUE(hasNestedFile);
  }
}

// ---------------------------------------------------------------------------------------------
// Documents.

TEST(RtfWriter, EscapesBracesBackslashesAndHighBytes) {
  EXPECT_EQ(RtfEscape("a{b}c\\d\xe9"), "a\\{b\\}c\\\\d\\'e9");
  RtfDocument doc;
  doc.Paragraph({Plain("{not a group} C:\\path")});
  ASSERT_TRUE(IsValidRtf(doc.Bytes()));
  EXPECT_NE(doc.Bytes().find("\\{not a group\\} C:\\\\path"), std::string::npos);
}

TEST(RtfWriter, DemonstrationDocumentsUseRealFormatting) {
  for (const std::string& file : {MakeWelcomeRtf(), MakeNewsletterRtf(), MakePriceListRtf()}) {
    ASSERT_TRUE(IsValidRtf(file));
    EXPECT_TRUE(HasOnlyCrLfLines(file));
    for (const char* word : {"\\fonttbl", "\\colortbl", "\\b", "\\fs", "\\cf", "\\par"}) {
      EXPECT_NE(file.find(word), std::string::npos) << word;
    }
  }
  const std::string welcome = MakeWelcomeRtf();
  for (const char* word : {"\\i ", "\\pnlvlblt", "\\f2", "\\qc"}) {
    EXPECT_NE(welcome.find(word), std::string::npos) << word;
  }
}

TEST(TextWriter, LinesEndInCrLf) {
  EXPECT_EQ(MakeText({"a", "", "b"}), "a\r\n\r\nb\r\n");
  for (const std::string& text : {MakeHistoryText(), MakeFaqText(), MakeManualText()}) {
    EXPECT_TRUE(HasOnlyCrLfLines(text));
  }
}

TEST(TextWriter, CatalogueReachesItsSizeInWholeLinesTheSameEachTime) {
  const std::string text = MakeCatalogText(200000);
  EXPECT_GE(text.size(), 200000u);
  EXPECT_LT(text.size(), 200000u + 200u);
  EXPECT_TRUE(HasOnlyCrLfLines(text));
  EXPECT_EQ(text, MakeCatalogText(200000));
}

// ---------------------------------------------------------------------------------------------
// Host folders.

TEST(FolderSinkPaths, BackslashesBecomeHostSeparators) {
  const std::filesystem::path root = "top";
  EXPECT_EQ(HostPath(root, "a\\b\\c.txt"), root / "a" / "b" / "c.txt");
  EXPECT_EQ(HostPath(root, "file"), root / "file");
}

TEST(FolderSinkPaths, HiddenAttributeIsWrittenAsHexText) {
  EXPECT_EQ(DosAttribValue(0x2), "0x2");
  EXPECT_EQ(DosAttribValue(0x22), "0x22");
  EXPECT_STREQ(kDosAttribName, "user.DOSATTRIB");
}

// ---------------------------------------------------------------------------------------------
// The medium.

// Keeps what the generator writes, and notes any file written into a folder not made before.
class RecordingSink : public IMediumSink {
 public:
  void MakeDir(const std::string& relPath) override {
    Log.push_back("dir " + relPath);
    Folders.insert(relPath);
  }
  void WriteFile(const std::string& relPath, const std::string& bytes) override {
    Log.push_back("file " + relPath + " " + std::to_string(Crc32(bytes)));
    const size_t slash = relPath.rfind('\\');
    if (slash != std::string::npos && Folders.count(relPath.substr(0, slash)) == 0) {
      Orphans.push_back(relPath);
    }
    if (Files.count(relPath) != 0) Rewritten.push_back(relPath);
    Files[relPath] = bytes;
  }
  void SetHidden(const std::string& relPath) override {
    Log.push_back("hide " + relPath);
    Hidden.insert(relPath);
  }

  std::vector<std::string> Log;
  std::set<std::string> Folders;
  std::map<std::string, std::string> Files;
  std::set<std::string> Hidden;
  std::vector<std::string> Orphans;
  std::vector<std::string> Rewritten;
};

constexpr size_t kTestTextBytes = 64 * 1024;

class DemoMedium : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    DemoOptions options;
    options.ProgramExe = "MZ sample";
    options.FoyerExe = "MZ foyer";
    options.LargeTextBytes = kTestTextBytes;
    FSink = new RecordingSink;
    WriteDemoMedium(*FSink, options);
  }
  static void TearDownTestSuite() {
    delete FSink;
    FSink = nullptr;
  }
  static const RecordingSink& Sink() { return *FSink; }

  // Names directly inside folder ("" for the top): files and folders.
  static std::set<std::string> Children(const std::string& folder) {
    std::set<std::string> names;
    const std::string prefix = folder.empty() ? "" : folder + "\\";
    auto add = [&](const std::string& path) {
      if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size()) return;
      const std::string rest = path.substr(prefix.size());
      names.insert(rest.substr(0, rest.find('\\')));
    };
    for (const std::string& path : Sink().Folders)
      add(path);
    for (const auto& [path, bytes] : Sink().Files)
      add(path);
    return names;
  }
  static std::set<std::string> Categories() {
    std::set<std::string> names;
    for (const std::string& name : Children("")) {
      if (name.find('.') == std::string::npos && Sink().Folders.count(name) != 0 &&
          Sink().Hidden.count(name) == 0) {
        names.insert(name);
      }
    }
    return names;
  }
  static bool IsFolder(const std::string& path) { return Sink().Folders.count(path) != 0; }

 private:
  static RecordingSink* FSink;
};

RecordingSink* DemoMedium::FSink = nullptr;

TEST_F(DemoMedium, FilesAreWrittenOnlyIntoFoldersMadeBeforeAndOnlyOnce) {
  EXPECT_TRUE(Sink().Orphans.empty()) << Sink().Orphans.front();
  EXPECT_TRUE(Sink().Rewritten.empty()) << Sink().Rewritten.front();
}

TEST_F(DemoMedium, HasTheDocumentedCategoriesAndNoMoreThanFifteen) {
  const std::set<std::string> categories = Categories();
  const std::vector<std::string> names = DemoCategoryNames();
  EXPECT_EQ(categories, std::set<std::string>(names.begin(), names.end()));
  EXPECT_LE(categories.size(), 15u);
  EXPECT_GE(categories.size(), 10u);
}

TEST_F(DemoMedium, ProgramFolderHoldsTheGivenBrowser) {
  ASSERT_TRUE(IsFolder("bin.dat"));
  EXPECT_EQ(Sink().Files.at("bin.dat\\foyer.exe"), "MZ foyer");
  EXPECT_EQ(Sink().Files.at("Programs\\sample.exe"), "MZ sample");
}

TEST(DemoMediumOptions, WithoutProgramsTheFoldersStayButHoldNoExecutables) {
  RecordingSink sink;
  DemoOptions options;
  options.LargeTextBytes = 1000;
  WriteDemoMedium(sink, options);
  EXPECT_EQ(sink.Folders.count("bin.dat"), 1u);
  for (const auto& [path, bytes] : sink.Files)
    EXPECT_NE(Extension(path), "exe") << path;
  EXPECT_EQ(sink.Files.count("Programs\\hello.bat"), 1u);
}

TEST_F(DemoMedium, SkinsAreEightBitAndTrueColourAndLookDifferent) {
  const std::string back8 = Sink().Files.at("layout.dat\\rgb256\\back.bmp");
  const std::string butt8 = Sink().Files.at("layout.dat\\rgb256\\butt.bmp");
  const std::string back24 = Sink().Files.at("layout.dat\\tc24\\back.bmp");
  const std::string butt24 = Sink().Files.at("layout.dat\\tc24\\butt.bmp");
  for (const std::string* file : {&back8, &butt8, &back24, &butt24})
    ASSERT_TRUE(IsValidBmp(*file));
  EXPECT_EQ(ReadBmp(back8)->BitsPerPixel, 8);
  EXPECT_EQ(ReadBmp(butt8)->BitsPerPixel, 8);
  EXPECT_EQ(ReadBmp(back24)->BitsPerPixel, 24);
  EXPECT_EQ(ReadBmp(butt24)->BitsPerPixel, 24);
  for (const std::string* butt : {&butt8, &butt24}) {
    EXPECT_NEAR(ReadBmp(*butt)->Width, 105, 10);
    EXPECT_NEAR(ReadBmp(*butt)->Height, 41, 6);
  }
  // Different themes: the colours at the same places differ clearly.
  int differing = 0;
  for (int y = 10; y < 440; y += 40) {
    for (int x = 10; x < 620; x += 40) {
      const Rgb a = BmpPixel(back8, x, y);
      const Rgb b = BmpPixel(back24, x, y);
      differing += std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B) > 90;
    }
  }
  EXPECT_GT(differing, 100);
}

TEST_F(DemoMedium, ButtonsAreLightEnoughForBlackCaptions) {
  for (const char* skin : {"rgb256", "tc24"}) {
    const std::string butt = Sink().Files.at(std::string("layout.dat\\") + skin + "\\butt.bmp");
    EXPECT_GT(AverageLuminance(butt), 180) << skin;
    // The middle, where the caption sits, too.
    const Rgb c = BmpPixel(butt, 52, 20);
    EXPECT_GT((299 * c.R + 587 * c.G + 114 * c.B) / 1000, 180) << skin;
  }
}

TEST_F(DemoMedium, EveryFileIsValidForItsKind) {
  for (const auto& [path, bytes] : Sink().Files) {
    const std::string ext = Extension(path);
    if (ext == "bmp") {
      EXPECT_TRUE(IsValidBmp(bytes)) << path;
    } else if (ext == "wav") {
      EXPECT_TRUE(IsValidWav(bytes)) << path;
    } else if (ext == "mid") {
      EXPECT_TRUE(IsValidMidi(bytes)) << path;
    } else if (ext == "avi") {
      EXPECT_TRUE(IsValidAvi(bytes)) << path;
    } else if (ext == "zip") {
      EXPECT_TRUE(IsValidZip(bytes)) << path;
    } else if (ext == "rtf") {
      EXPECT_TRUE(IsValidRtf(bytes)) << path;
    } else if (ext == "txt" || ext == "readme" || ext == "bat" || ext == "ini" || ext == "inf") {
      // A UTF-16 text's line ends are its units: their high bytes are zero.
      std::string units = bytes;
      if (units.starts_with("\xFF\xFE")) std::erase(units, '\0');
      EXPECT_TRUE(HasOnlyCrLfLines(units)) << path;
      EXPECT_FALSE(bytes.empty()) << path;
    }
  }
}

// The content files of a category (readme and preview material left out), by extension.
std::map<std::string, int> ContentKinds(const std::set<std::string>& names) {
  std::map<std::string, int> kinds;
  for (const std::string& name : names) {
    const std::string ext = Extension(name);
    if (name == "readme.txt" || name == "viewme.bmp" || ext == "readme") continue;
    const std::string stem = name.substr(0, name.find('.'));
    if ((ext == "bmp" || ext == "txt") && names.count(stem + ".zip") != 0) continue;
    ++kinds[ext];
  }
  return kinds;
}

TEST_F(DemoMedium, EachCategoryHoldsOneKindOfContent) {
  using Kinds = std::map<std::string, int>;
  EXPECT_EQ(ContentKinds(Children("Archives")), (Kinds{{"zip", 4}}));
  EXPECT_EQ(ContentKinds(Children("Sounds")), (Kinds{{"wav", 4}}));
  EXPECT_EQ(ContentKinds(Children("Music")), (Kinds{{"mid", 3}}));
  EXPECT_EQ(ContentKinds(Children("Video")), (Kinds{{"avi", 2}}));
  EXPECT_EQ(ContentKinds(Children("Pictures")), (Kinds{{"bmp", 4}}));
  EXPECT_EQ(ContentKinds(Children("Documents")), (Kinds{{"txt", 3}}));
  EXPECT_EQ(ContentKinds(Children("Letters")), (Kinds{{"rtf", 3}}));
  EXPECT_EQ(ContentKinds(Children("Programs")), (Kinds{{"bat", 2}, {"exe", 1}}));
  EXPECT_EQ(ContentKinds(Children("Intro")), (Kinds{{"avi", 1}}));
  EXPECT_EQ(ContentKinds(Children("Manual")), (Kinds{{"txt", 1}}));
  EXPECT_EQ(ContentKinds(Children("Jingle")), (Kinds{{"mid", 1}}));
  for (const std::string& name : Children("Install")) {
    if (name != "readme.txt") {
      EXPECT_TRUE(IsFolder("Install\\" + name)) << name;
    }
  }
}

TEST_F(DemoMedium, PicturesCoverEveryBitDepth) {
  std::set<int> depths;
  for (const std::string& name : Children("Pictures")) {
    depths.insert(ReadBmp(Sink().Files.at("Pictures\\" + name))->BitsPerPixel);
  }
  EXPECT_EQ(depths, (std::set<int>{4, 8, 24}));
}

TEST_F(DemoMedium, InstallEntriesHaveADescriptionAPreviewAndNestedFolders) {
  const std::set<std::string> entries = Children("Install");
  EXPECT_GE(entries.size(), 4u);  // three or more entries and the category's own readme
  for (const std::string& name : entries) {
    if (name == "readme.txt") continue;
    const std::string folder = "Install\\" + name;
    const std::string readme = Sink().Files.at(folder + "\\readme.txt");
    const std::string firstLine = readme.substr(0, readme.find('\r'));
    EXPECT_GT(firstLine.size(), 10u) << name;
    EXPECT_LT(firstLine.size(), 50u) << name;
    EXPECT_TRUE(IsValidBmp(Sink().Files.at(folder + "\\viewme.bmp"))) << name;
    bool hasNestedFolder = false;
    for (const std::string& child : Children(folder))
      hasNestedFolder |= IsFolder(folder + "\\" + child);
    EXPECT_TRUE(hasNestedFolder) << name;
  }
  bool isTwoDeep = false;
  for (const std::string& path : Sink().Folders) {
    isTwoDeep |= path.rfind("Install\\", 0) == 0 && std::count(path.begin(), path.end(), '\\') >= 3;
  }
  EXPECT_TRUE(isTwoDeep) << "no folder nested two levels inside an entry";
}

TEST_F(DemoMedium, OneFileInsideAnInstallEntryIsHidden) {
  ASSERT_EQ(Sink().Hidden.size(), 1u);
  const std::string hidden = *Sink().Hidden.begin();
  EXPECT_EQ(hidden.rfind("Install\\", 0), 0u);
  EXPECT_EQ(Sink().Files.count(hidden), 1u) << "hidden before or without being written";
  const auto written = std::find(Sink().Log.begin(), Sink().Log.end(), "hide " + hidden);
  EXPECT_NE(
      std::find_if(Sink().Log.begin(), written,
                   [&](const std::string& entry) { return entry.rfind("file " + hidden, 0) == 0; }),
      written);
}

TEST_F(DemoMedium, ZipsHaveNotesAndPreviewsBesideThem) {
  const std::set<std::string> names = Children("Archives");
  int zips = 0;
  for (const std::string& name : names) {
    if (Extension(name) != "zip") continue;
    ++zips;
    const std::string stem = name.substr(0, name.find('.'));
    EXPECT_EQ(names.count(stem + ".readme"), 1u) << stem;
    EXPECT_EQ(names.count(stem + ".bmp"), 1u) << stem;
  }
  EXPECT_GE(zips, 2);
  EXPECT_EQ(names.count("tools.txt"), 1u);
  EXPECT_EQ(Children("Sounds").count("chime.readme"), 1u);
}

TEST_F(DemoMedium, EntryNamesFitTheListsSixteenCharacters) {
  for (const std::string& category : Categories()) {
    for (const std::string& name : Children(category))
      EXPECT_LE(name.size(), 16u) << name;
  }
}

TEST_F(DemoMedium, TheLargeTextIsTheRequestedSize) {
  const std::string& catalog = Sink().Files.at("Documents\\catalog.txt");
  EXPECT_GE(catalog.size(), kTestTextBytes);
  EXPECT_EQ(DemoOptions().LargeTextBytes, size_t{3} * 1024 * 1024);
}

TEST(DemoMediumDeterminism, TwoRunsMakeTheSameCallsWithTheSameBytes) {
  DemoOptions options;
  options.LargeTextBytes = 4096;
  RecordingSink first;
  RecordingSink second;
  WriteDemoMedium(first, options);
  WriteDemoMedium(second, options);
  EXPECT_EQ(first.Log, second.Log);
  EXPECT_TRUE(first.Files == second.Files);
}

}  // namespace
}  // namespace foyer::medgen
