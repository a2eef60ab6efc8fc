// The .bmp decoder: pixels of every accepted form, and the error of every malformed file.
#include "toolkit/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/memory/MemoryPlatform.h"
#include "util/Errors.h"

namespace foyer {
namespace {

const std::string kReadError = "Stream read error";
const std::string kNotValid = "Bitmap image is not valid";

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A bitmap file to assemble, field by field, including the lies a damaged file tells.
struct BmpFile {
  uint32_t HeaderSize = 40;
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t Planes = 1;
  uint16_t BitCount = 24;
  uint32_t Compression = kBiRgb;
  uint32_t ClrUsed = 0;
  std::vector<uint32_t> Masks;          // after a 40-byte header, inside a V4 or V5 one
  std::vector<uint32_t> Palette;        // 0x00RRGGBB
  std::string Gap;                      // bytes between the colour table and the pixels
  std::string Pixels;                   // as stored
  std::optional<uint32_t> PixelOffset;  // by default, where the pixels are
};

std::string Build(const BmpFile& recipe) {
  const bool isCore = recipe.HeaderSize == 12;
  std::string info;
  Put32(info, recipe.HeaderSize);
  if (isCore) {
    Put16(info, static_cast<uint32_t>(recipe.Width));
    Put16(info, static_cast<uint32_t>(recipe.Height));
    Put16(info, recipe.Planes);
    Put16(info, recipe.BitCount);
  } else {
    Put32(info, static_cast<uint32_t>(recipe.Width));
    Put32(info, static_cast<uint32_t>(recipe.Height));
    Put16(info, recipe.Planes);
    Put16(info, recipe.BitCount);
    Put32(info, recipe.Compression);
    Put32(info, static_cast<uint32_t>(recipe.Pixels.size()));
    Put32(info, 2835);  // 72 dots per inch
    Put32(info, 2835);
    Put32(info, recipe.ClrUsed);
    Put32(info, 0);
    if (recipe.HeaderSize > 40) {
      for (uint32_t mask : recipe.Masks)
        Put32(info, mask);
    }
    info.resize(recipe.HeaderSize, '\0');
  }
  std::string tables;
  if (recipe.HeaderSize == 40) {
    for (uint32_t mask : recipe.Masks)
      Put32(tables, mask);
  }
  for (uint32_t colour : recipe.Palette) {
    tables += static_cast<char>(colour & 0xFF);
    tables += static_cast<char>(colour >> 8 & 0xFF);
    tables += static_cast<char>(colour >> 16 & 0xFF);
    if (!isCore) tables += '\0';
  }
  const size_t pixelOffset = 14 + info.size() + tables.size() + recipe.Gap.size();
  std::string file = "BM";
  Put32(file, static_cast<uint32_t>(pixelOffset + recipe.Pixels.size()));
  Put32(file, 0);
  Put32(file, recipe.PixelOffset.value_or(static_cast<uint32_t>(pixelOffset)));
  return file + info + tables + recipe.Gap + recipe.Pixels;
}

// A stored row: its bytes padded to a multiple of four.
std::string Row(std::string bytes) {
  bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
  return bytes;
}

// Blue, green, red: a 24-bit pixel, and also a core colour-table entry.
std::string Bgr(uint32_t rgb) {
  return {static_cast<char>(rgb & 0xFF), static_cast<char>(rgb >> 8 & 0xFF),
          static_cast<char>(rgb >> 16 & 0xFF)};
}

std::string Bytes(std::initializer_list<uint8_t> values) {
  return std::string(values.begin(), values.end());
}

// Decodes from a heap block of exactly the file's size, so the sanitizer sees any read past it.
Picture Decode(const std::string& file) {
  std::unique_ptr<uint8_t[]> block(new uint8_t[file.size()]);
  std::copy(file.begin(), file.end(), block.get());
  return DecodeBitmap(block.get(), file.size());
}

// The message the decoder fails with, or "decoded".
std::string FailureOf(const std::string& file) {
  try {
    Decode(file);
  } catch (const Exception& error) {
    return error.Message();
  }
  return "decoded";
}

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;

// 2 x 2 at 24 bits: bottom row red, green; top row blue, white.
BmpFile TrueColour2x2() {
  BmpFile recipe;
  recipe.Width = 2;
  recipe.Height = 2;
  recipe.Pixels = Row(Bgr(kRed) + Bgr(kGreen)) + Row(Bgr(kBlue) + Bgr(kWhite));
  return recipe;
}

// 4 x 1 at 8 bits with a four-colour table.
BmpFile Indexed4x1() {
  BmpFile recipe;
  recipe.Width = 4;
  recipe.BitCount = 8;
  recipe.ClrUsed = 4;
  recipe.Palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
  recipe.Pixels = Bytes({3, 2, 1, 0});
  return recipe;
}

// A palette whose entry i is i in every channel, so no entry is black but the first.
std::vector<uint32_t> GreyRamp(uint32_t count) {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < count; ++i)
    palette.push_back(i * 0x010101);
  return palette;
}

TEST(DecodeBitmapRows, BottomUpRowsComeOutTopDown) {
  const Picture picture = Decode(Build(TrueColour2x2()));
  EXPECT_EQ(picture.Width, 2);
  EXPECT_EQ(picture.Height, 2);
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kBlue, kWhite, kRed, kGreen}));
  EXPECT_TRUE(picture.Palette.empty());
  EXPECT_FALSE(picture.IsEmpty());
}

TEST(DecodeBitmapRows, NegativeHeightMeansTopDownRows) {
  BmpFile recipe = TrueColour2x2();
  recipe.Height = -2;
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Height, 2);
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue, kWhite}));
}

TEST(DecodeBitmapRows, PixelsAreReadAtTheOffsetTheFileGives) {
  BmpFile recipe = TrueColour2x2();
  recipe.Gap = "junk";
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{kBlue, kWhite, kRed, kGreen}));
}

TEST(DecodeBitmapIndexed, OneBitReadsTheHighBitFirstAcrossPaddedBytes) {
  BmpFile recipe;
  recipe.Width = 10;
  recipe.BitCount = 1;
  recipe.Palette = {kBlue, kRed};
  recipe.Pixels = Row(Bytes({0b10110000, 0b11000000}));
  const Picture picture = Decode(Build(recipe));
  const uint32_t b = kBlue, r = kRed;
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{r, b, r, r, b, b, b, b, r, r}));
  EXPECT_EQ(picture.Palette, (std::vector<uint32_t>{kBlue, kRed}));
}

TEST(DecodeBitmapIndexed, FourBitReadsTheHighNibbleFirst) {
  BmpFile recipe;
  recipe.Width = 3;
  recipe.BitCount = 4;
  recipe.Palette = GreyRamp(16);
  recipe.Pixels = Row(Bytes({0x1F, 0x30}));
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0x010101, 0x0F0F0F, 0x030303}));
  EXPECT_EQ(picture.Palette.size(), 16u);
}

TEST(DecodeBitmapIndexed, EightBitUsesTheShortTableClrUsedNames) {
  const Picture picture = Decode(Build(Indexed4x1()));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0xA0B0C0, 0x708090, 0x405060, 0x102030}));
  EXPECT_EQ(picture.Palette, (std::vector<uint32_t>{0x102030, 0x405060, 0x708090, 0xA0B0C0}));
}

TEST(DecodeBitmapIndexed, IndexesBeyondTheTableAreBlack) {
  BmpFile recipe = Indexed4x1();
  recipe.Pixels = Bytes({4, 255, 1, 0});
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{0, 0, 0x405060, 0x102030}));
}

TEST(DecodeBitmapIndexed, ClrUsedZeroMeansAFullTable) {
  BmpFile recipe;
  recipe.BitCount = 8;
  recipe.Palette = GreyRamp(256);
  recipe.Pixels = Row(Bytes({255}));
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0xFFFFFF}));
  EXPECT_EQ(picture.Palette.size(), 256u);
}

TEST(DecodeBitmapIndexed, ClrUsedAboveTheDepthReadsOnlyTheDepthsEntries) {
  BmpFile recipe;
  recipe.BitCount = 1;
  recipe.ClrUsed = 256;
  recipe.Palette = {kGreen, kWhite};
  recipe.Pixels = Row(Bytes({0x80}));
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kWhite}));
  EXPECT_EQ(picture.Palette.size(), 2u);
}

TEST(DecodeBitmapIndexed, TrueColourFileKeepsItsOptionalTable) {
  BmpFile recipe = TrueColour2x2();
  recipe.ClrUsed = 2;
  recipe.Palette = {0x123456, 0x654321};
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Palette, (std::vector<uint32_t>{0x123456, 0x654321}));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kBlue, kWhite, kRed, kGreen}));
}

TEST(DecodeBitmapIndexed, OptionalTableFollowsTheMasksOfAnInfoHeader) {
  BmpFile recipe;
  recipe.BitCount = 16;
  recipe.Compression = kBiBitfields;
  recipe.Masks = {0xF800, 0x07E0, 0x001F};
  recipe.ClrUsed = 1;
  recipe.Palette = {0x123456};
  recipe.Pixels = Row(Bytes({0x1F, 0x00}));
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Palette, (std::vector<uint32_t>{0x123456}));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kBlue}));
  recipe.PixelOffset = 66;  // inside the table, just after the masks
  EXPECT_EQ(FailureOf(Build(recipe)), kNotValid);
}

TEST(DecodeBitmapDirectColour, SixteenBitWithoutMasksIs555) {
  BmpFile recipe;
  recipe.Width = 4;
  recipe.BitCount = 16;
  Put16(recipe.Pixels, 0x7FFF);
  Put16(recipe.Pixels, 0x7C00);
  Put16(recipe.Pixels, 0x03E0);
  Put16(recipe.Pixels, 0x0010);  // blue 16 of 31
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{kWhite, kRed, kGreen, 0x000084}));
}

TEST(DecodeBitmapDirectColour, SixteenBitMasksFollowTheInfoHeader) {
  BmpFile recipe;
  recipe.Width = 4;
  recipe.BitCount = 16;
  recipe.Compression = kBiBitfields;
  recipe.Masks = {0xF800, 0x07E0, 0x001F};
  Put16(recipe.Pixels, 0xF800);
  Put16(recipe.Pixels, 0x07E0);
  Put16(recipe.Pixels, 0x0020);  // green 1 of 63
  Put16(recipe.Pixels, 0xFFFF);
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{kRed, kGreen, 0x000400, kWhite}));
}

TEST(DecodeBitmapDirectColour, ThirtyTwoBitIgnoresTheFourthByte) {
  BmpFile recipe;
  recipe.Width = 2;
  recipe.BitCount = 32;
  recipe.Pixels = Bytes({0x11, 0x22, 0x33, 0xFF, 0xCC, 0xBB, 0xAA, 0x80});
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{0x332211, 0xAABBCC}));
}

TEST(DecodeBitmapDirectColour, ThirtyTwoBitMasksCanReorderTheChannels) {
  BmpFile recipe;
  recipe.BitCount = 32;
  recipe.Compression = kBiBitfields;
  recipe.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  recipe.Pixels = Bytes({0x11, 0x22, 0x33, 0x00});
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{0x112233}));
}

TEST(DecodeBitmapHeaderForms, V4HeaderCarriesItsMasksInside) {
  BmpFile recipe;
  recipe.HeaderSize = 108;
  recipe.Width = 2;
  recipe.BitCount = 16;
  recipe.Compression = kBiBitfields;
  recipe.Masks = {0xF800, 0x07E0, 0x001F};
  Put16(recipe.Pixels, 0xF800);
  Put16(recipe.Pixels, 0x001F);
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{kRed, kBlue}));
}

TEST(DecodeBitmapHeaderForms, V5HeaderIsFollowedByItsColourTable) {
  BmpFile recipe = Indexed4x1();
  recipe.HeaderSize = 124;
  const Picture picture = Decode(Build(recipe));
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0xA0B0C0, 0x708090, 0x405060, 0x102030}));
  EXPECT_EQ(picture.Palette.size(), 4u);
}

TEST(DecodeBitmapHeaderForms, V5MasksAreIgnoredWithoutBitfields) {
  BmpFile recipe;
  recipe.HeaderSize = 124;
  recipe.BitCount = 32;
  recipe.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  recipe.Pixels = Bytes({0x11, 0x22, 0x33, 0x00});
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{0x332211}));
}

TEST(DecodeBitmapHeaderForms, CoreHeaderHasThreeByteTableEntries) {
  BmpFile recipe;
  recipe.HeaderSize = 12;
  recipe.Width = 3;
  recipe.Height = 2;
  recipe.BitCount = 1;
  recipe.Palette = {0x123456, 0xABCDEF};
  recipe.Pixels = Row(Bytes({0b10100000})) + Row(Bytes({0b01000000}));
  const Picture picture = Decode(Build(recipe));
  const uint32_t a = 0x123456, b = 0xABCDEF;
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{a, b, a, b, a, b}));
  EXPECT_EQ(picture.Palette, (std::vector<uint32_t>{a, b}));
}

TEST(DecodeBitmapHeaderForms, CoreHeaderDecodesTrueColour) {
  BmpFile recipe = TrueColour2x2();
  recipe.HeaderSize = 12;
  EXPECT_EQ(Decode(Build(recipe)).Pixels, (std::vector<uint32_t>{kBlue, kWhite, kRed, kGreen}));
}

// 4 x 3 at RLE8 over a table whose entry 0 is not black, so left-out pixels show.
BmpFile Rle8Picture(std::string data) {
  BmpFile recipe;
  recipe.Width = 4;
  recipe.Height = 3;
  recipe.BitCount = 8;
  recipe.Compression = kBiRle8;
  recipe.ClrUsed = 4;
  recipe.Palette = {0x111111, 0x222222, 0x333333, 0x444444};
  recipe.Pixels = std::move(data);
  return recipe;
}

TEST(DecodeBitmapRle, Rle8RunsLiteralsDeltaAndEndsPlacePixels) {
  const std::string data = Bytes({3, 1,              // bottom row: three of 1
                                  0, 0,              // end of line
                                  0, 3, 2, 3, 1, 0,  // literal 2 3 1, padded
                                  0, 2, 0, 1,        // up one row, same column
                                  1, 3,              // one of 3 at the right edge
                                  0, 1,              // end of picture
                                  5, 1});            // ignored after the end
  const Picture picture = Decode(Build(Rle8Picture(data)));
  const uint32_t c1 = 0x222222, c2 = 0x333333, c3 = 0x444444;
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0, 0, 0, c3, c2, c3, c1, 0, c1, c1, c1, 0}));
}

TEST(DecodeBitmapRle, RunPastTheRowEndDoesNotWrapIntoTheNextRow) {
  const std::string data = Bytes({9, 1, 0, 5, 2, 2, 2, 2, 2, 0, 0, 0, 1, 3, 0, 1});
  const Picture picture = Decode(Build(Rle8Picture(data)));
  const uint32_t c1 = 0x222222, c3 = 0x444444;
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0, 0, 0, 0, c3, 0, 0, 0, c1, c1, c1, c1}));
}

TEST(DecodeBitmapRle, DataEndingBetweenCommandsLeavesTheRestBlack) {
  const Picture picture = Decode(Build(Rle8Picture(Bytes({2, 3}))));
  const uint32_t c3 = 0x444444;
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, c3, c3, 0, 0}));
  EXPECT_EQ(Decode(Build(Rle8Picture(""))).Pixels, std::vector<uint32_t>(12, 0));
}

TEST(DecodeBitmapRle, DeltaOutOfThePictureEndsItSafely) {
  const Picture picture =
      Decode(Build(Rle8Picture(Bytes({0, 2, 200, 0, 4, 1, 0, 2, 0, 255, 4, 1}))));
  EXPECT_EQ(picture.Pixels, std::vector<uint32_t>(12, 0));
}

TEST(DecodeBitmapRle, IndexesBeyondTheTableAreBlack) {
  const Picture picture = Decode(Build(Rle8Picture(Bytes({2, 4, 0, 2, 9, 1, 0, 1}))));
  EXPECT_EQ(picture.Pixels, std::vector<uint32_t>(12, 0));
}

TEST(DecodeBitmapRle, Rle4RunsAlternateNibblesAndLiteralsArePadded) {
  BmpFile recipe;
  recipe.Width = 7;
  recipe.Height = 3;
  recipe.BitCount = 4;
  recipe.Compression = kBiRle4;
  recipe.Palette = GreyRamp(16);
  recipe.Pixels =
      Bytes({7, 0x12, 0,    0,                 // bottom row: 1 2 1 2 1 2 1
             0, 3,    0x34, 0x50, 0,    0,     // literal 3 4 5: two bytes, even
             0, 5,    0x67, 0x89, 0xA0, 0x00,  // literal 6 7 8 9 10: three bytes, padded
             2, 0xBB, 0,    1});               // two of 11 after the padding
  const Picture picture = Decode(Build(recipe));
  std::vector<uint32_t> expected;
  for (uint32_t index : {6, 7, 8, 9, 10, 11, 11, 3, 4, 5, 0, 0, 0, 0, 1, 2, 1, 2, 1, 2, 1}) {
    expected.push_back(index * 0x010101);
  }
  EXPECT_EQ(picture.Pixels, expected);
}

TEST(DecodeBitmapRle, CapIsAcceptedAndOneRowMoreIsNot) {
  BmpFile recipe = Rle8Picture(Bytes({0, 1}));
  recipe.Width = 4096;
  recipe.Height = 4096;
  EXPECT_EQ(Decode(Build(recipe)).Pixels.size(), size_t{4096} * 4096);
  recipe.Height = 4097;
  EXPECT_EQ(FailureOf(Build(recipe)), kNotValid);
}

TEST(DecodeBitmapFailures, NoBytesGiveAnEmptyPicture) {
  const Picture picture = Decode("");
  EXPECT_EQ(picture.Width, 0);
  EXPECT_EQ(picture.Height, 0);
  EXPECT_TRUE(picture.Pixels.empty());
  EXPECT_TRUE(picture.IsEmpty());
}

TEST(DecodeBitmapFailures, ShortOfTheFileHeaderIsAReadError) {
  EXPECT_THROW(Decode(Build(TrueColour2x2()).substr(0, 13)), EReadError);
  EXPECT_EQ(FailureOf("B"), kReadError);
  EXPECT_EQ(FailureOf(std::string(13, 'x')), kReadError);
}

TEST(DecodeBitmapFailures, FirstBytesOtherThanBmAreNotValid) {
  EXPECT_THROW(Decode(std::string(14, 'x')), EInvalidGraphic);
  EXPECT_EQ(FailureOf(std::string(14, '\0')), kNotValid);
  std::string file = Build(TrueColour2x2());
  file[1] = 'A';
  EXPECT_EQ(FailureOf(file), kNotValid);
  file[0] = 'b';
  file[1] = 'm';
  EXPECT_EQ(FailureOf(file), kNotValid);
}

TEST(DecodeBitmapFailures, FileHeaderWithoutAHeaderSizeIsAReadError) {
  const std::string file = Build(TrueColour2x2());
  EXPECT_EQ(FailureOf(file.substr(0, 14)), kReadError);
  EXPECT_EQ(FailureOf(file.substr(0, 17)), kReadError);
}

TEST(DecodeBitmapFailures, HeaderSizesOtherThanTheFourFormsAreNotValid) {
  for (uint32_t size : {0u, 16u, 39u, 41u, 52u, 56u, 64u, 107u, 125u, 0xFFFFFFFFu}) {
    std::string file = Build(TrueColour2x2());
    file[14] = static_cast<char>(size & 0xFF);
    file[15] = static_cast<char>(size >> 8 & 0xFF);
    file[16] = static_cast<char>(size >> 16 & 0xFF);
    file[17] = static_cast<char>(size >> 24 & 0xFF);
    EXPECT_EQ(FailureOf(file), kNotValid) << "header size " << size;
  }
  BmpFile recipe = TrueColour2x2();
  recipe.HeaderSize = 64;  // the later OS/2 header, padded out with zeros
  EXPECT_EQ(FailureOf(Build(recipe)), kNotValid);
}

// Every form of valid file, uncompressed, cut short at every length: each is a read error.
TEST(DecodeBitmapFailures, EveryTruncationOfAnUncompressedFileIsAReadError) {
  BmpFile core = TrueColour2x2();
  core.HeaderSize = 12;
  BmpFile masks;
  masks.BitCount = 16;
  masks.Compression = kBiBitfields;
  masks.Masks = {0xF800, 0x07E0, 0x001F};
  masks.Pixels = Row(Bytes({0xFF, 0xFF}));
  BmpFile v5 = Indexed4x1();
  v5.HeaderSize = 124;
  BmpFile fullTable;
  fullTable.BitCount = 8;
  fullTable.Palette = GreyRamp(256);
  fullTable.Pixels = Row(Bytes({7}));
  for (const BmpFile& recipe : {TrueColour2x2(), core, masks, v5, fullTable, Indexed4x1()}) {
    const std::string file = Build(recipe);
    ASSERT_EQ(FailureOf(file), "decoded");
    for (size_t length = 1; length < file.size(); ++length) {
      ASSERT_EQ(FailureOf(file.substr(0, length)), kReadError)
          << "header " << recipe.HeaderSize << ", cut to " << length << " of " << file.size();
    }
  }
}

TEST(DecodeBitmapFailures, RleCommandCutByTheFileEndIsAReadError) {
  EXPECT_EQ(FailureOf(Build(Rle8Picture(Bytes({3})))), kReadError);
  EXPECT_EQ(FailureOf(Build(Rle8Picture(Bytes({0, 2, 1})))), kReadError);
  EXPECT_EQ(FailureOf(Build(Rle8Picture(Bytes({0, 4, 1, 2, 3})))), kReadError);
  EXPECT_EQ(FailureOf(Build(Rle8Picture(Bytes({0, 3, 1, 2, 3})))), kReadError);  // no padding
}

TEST(DecodeBitmapFailures, ImpossibleDimensionsAreNotValid) {
  for (int32_t width : {0, -1, INT32_MIN}) {
    BmpFile recipe = TrueColour2x2();
    recipe.Width = width;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << "width " << width;
  }
  for (int32_t height : {0, INT32_MIN}) {
    BmpFile recipe = TrueColour2x2();
    recipe.Height = height;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << "height " << height;
  }
  BmpFile core = TrueColour2x2();
  core.HeaderSize = 12;
  core.Width = 0;
  EXPECT_EQ(FailureOf(Build(core)), kNotValid);
}

TEST(DecodeBitmapFailures, PlanesOtherThanOneAreNotValid) {
  for (uint16_t planes : {0, 2}) {
    BmpFile recipe = TrueColour2x2();
    recipe.Planes = planes;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << "planes " << planes;
  }
}

TEST(DecodeBitmapFailures, UnknownBitCountsAreNotValid) {
  for (uint16_t bitCount : {0, 2, 3, 5, 48, 64}) {
    BmpFile recipe = TrueColour2x2();
    recipe.BitCount = bitCount;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << bitCount << " bits";
  }
  for (uint16_t bitCount : {16, 32}) {
    BmpFile recipe = TrueColour2x2();
    recipe.HeaderSize = 12;
    recipe.BitCount = bitCount;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << "core header, " << bitCount << " bits";
  }
}

TEST(DecodeBitmapFailures, CompressionThatDoesNotFitTheDepthIsNotValid) {
  struct Case {
    uint16_t BitCount;
    uint32_t Compression;
  };
  for (Case c : {Case{4, kBiRle8}, Case{24, kBiRle8}, Case{8, kBiRle4}, Case{24, kBiBitfields},
                 Case{8, kBiBitfields}, Case{24, 4}, Case{24, 5}, Case{32, 6}, Case{8, 99}}) {
    BmpFile recipe = TrueColour2x2();
    recipe.BitCount = c.BitCount;
    recipe.Compression = c.Compression;
    recipe.Masks = {0xFF0000, 0xFF00, 0xFF};
    recipe.Palette = GreyRamp(c.BitCount <= 8 ? 1u << c.BitCount : 0);
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid)
        << c.BitCount << " bits, compression " << c.Compression;
  }
}

TEST(DecodeBitmapFailures, TopDownRunLengthDataIsNotValid) {
  BmpFile recipe = Rle8Picture(Bytes({0, 1}));
  recipe.Height = -3;
  EXPECT_EQ(FailureOf(Build(recipe)), kNotValid);
}

TEST(DecodeBitmapFailures, MasksThatAreNotSeparateRunsAreNotValid) {
  const std::vector<std::vector<uint32_t>> badMasks = {
      {0xF0F0, 0x0F00, 0x000F},    // red in two pieces
      {0xF800, 0x0FE0, 0x001F},    // red and green share a bit
      {0x1F800, 0x07E0, 0x001F}};  // red beyond a 16-bit pixel
  for (const std::vector<uint32_t>& masks : badMasks) {
    BmpFile recipe;
    recipe.BitCount = 16;
    recipe.Compression = kBiBitfields;
    recipe.Masks = masks;
    recipe.Pixels = Row(Bytes({0, 0}));
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << std::hex << masks[0] << " " << masks[1];
  }
}

TEST(DecodeBitmapFailures, PixelOffsetPastTheEndIsAReadError) {
  for (uint32_t offset : {71u, 75u, 1000u, 0xFFFFFFFFu}) {
    BmpFile recipe = Indexed4x1();  // 74 bytes, pixels at 70
    recipe.PixelOffset = offset;
    EXPECT_EQ(FailureOf(Build(recipe)), kReadError) << "offset " << offset;
  }
  for (uint32_t offset : {73u, 1000u, 0xFFFFFFFFu}) {
    BmpFile recipe = Rle8Picture(Bytes({0, 1}));  // 72 bytes, data at 70
    recipe.PixelOffset = offset;
    EXPECT_EQ(FailureOf(Build(recipe)), kReadError) << "offset " << offset;
  }
}

TEST(DecodeBitmapFailures, PixelOffsetInsideTheHeadersOrTableIsNotValid) {
  for (uint32_t offset : {0u, 13u, 54u, 69u}) {
    BmpFile recipe = Indexed4x1();  // table from 54 to 70
    recipe.PixelOffset = offset;
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << "offset " << offset;
  }
}

TEST(DecodeBitmapFailures, OverflowingDimensionsAreNotValidBeforeAnyRead) {
  struct Case {
    int32_t Width;
    int32_t Height;
    uint16_t BitCount;
  };
  for (Case c : {Case{INT32_MAX, INT32_MAX, 32}, Case{INT32_MAX, 1, 32}, Case{INT32_MAX, 1, 1},
                 Case{30000, -30000, 24}, Case{65536, 8192, 8}}) {
    BmpFile recipe = TrueColour2x2();
    recipe.Width = c.Width;
    recipe.Height = c.Height;
    recipe.BitCount = c.BitCount;
    recipe.Palette = GreyRamp(c.BitCount <= 8 ? 1u << c.BitCount : 0);
    EXPECT_EQ(FailureOf(Build(recipe)), kNotValid) << c.Width << " x " << c.Height;
  }
}

TEST(DecodeBitmapFailures, LargeDimensionsOnATinyFileAreAReadError) {
  BmpFile recipe = TrueColour2x2();
  recipe.Width = 10000;
  recipe.Height = 10000;
  EXPECT_EQ(FailureOf(Build(recipe)), kReadError);
}

// A C: drive in memory, installed as the program's services for the length of a test.
class LoadPictureTest : public ::testing::Test {
 protected:
  LoadPictureTest() { FMemory.Fs.AddDrive('C'); }

  MemoryPlatform FMemory;
  ScopedPlatform FInstalled{FMemory.Get()};
};

TEST_F(LoadPictureTest, ExtensionIsComparedInLowerCase) {
  FMemory.Fs.WriteFile("C:\\Skins\\Back.BMP", Build(TrueColour2x2()));
  const Picture picture = LoadPicture("C:\\Skins\\Back.BMP");
  EXPECT_EQ(picture.Pixels, (std::vector<uint32_t>{kBlue, kWhite, kRed, kGreen}));
}

TEST_F(LoadPictureTest, ExtensionOtherThanBmpIsRefusedBeforeTheFileIsOpened) {
  FMemory.Fs.WriteFile("C:\\pics\\logo.GIF", Build(TrueColour2x2()));
  const struct {
    const char* Path;
    const char* Extension;
  } cases[] = {{"C:\\pics\\logo.GIF", "gif"}, {"C:\\pics\\logo.bmp.Txt", "txt"},
               {"C:\\pics.bmp\\readme", ""},  {"D:noext", ""},
               {"D:x.bmp:stream.Png", "png"}, {"C:\\a\\b.bmpx", "bmpx"}};
  for (const auto& c : cases) {
    try {
      LoadPicture(c.Path);
      ADD_FAILURE() << c.Path << " loaded";
    } catch (const EInvalidGraphic& error) {
      EXPECT_EQ(error.Message(), EInvalidGraphic::UnknownExtension(c.Extension).Message())
          << c.Path;
    }
  }
}

TEST_F(LoadPictureTest, FileThatCannotBeOpenedNamesThePathAsPassed) {
  FMemory.Fs.MakeDir("C:\\folder.bmp");
  FMemory.Fs.AddDrive('E', DriveKind::CdRom);
  FMemory.Fs.WriteFile("E:\\view.bmp", Build(TrueColour2x2()));
  FMemory.Fs.SetDriveReady('E', false);
  for (const char* path :
       {"c:\\skins\\..\\gone.bmp", "C:\\folder.bmp", "E:\\view.bmp", "Q:\\x.bmp"}) {
    try {
      LoadPicture(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), std::string("Cannot open file ") + path);
    }
  }
}

TEST_F(LoadPictureTest, ContentIsJudgedByTheDecoder) {
  FMemory.Fs.WriteFile("C:\\empty.bmp", "");
  FMemory.Fs.WriteFile("C:\\short.bmp", std::string(13, 'B'));
  FMemory.Fs.WriteFile("C:\\text.bmp", "This is not a picture at all.");
  EXPECT_TRUE(LoadPicture("C:\\empty.bmp").IsEmpty());
  EXPECT_THROW(LoadPicture("C:\\short.bmp"), EReadError);
  EXPECT_THROW(LoadPicture("C:\\text.bmp"), EInvalidGraphic);
}

}  // namespace
}  // namespace foyer
