// The user-visible messages of the error types and the checked arithmetic.
#include <gtest/gtest.h>

#include "util/Checked.h"
#include "util/Errors.h"

namespace foyer {
namespace {

TEST(InOutErrorMessage, KnownCodesHaveTheirTexts) {
  EXPECT_EQ(EInOutError(2).Message(), "File not found");
  EXPECT_EQ(EInOutError(3).Message(), "Invalid filename");
  EXPECT_EQ(EInOutError(4).Message(), "Too many open files");
  EXPECT_EQ(EInOutError(5).Message(), "File access denied");
  EXPECT_EQ(EInOutError(100).Message(), "Read beyond end of file");
  EXPECT_EQ(EInOutError(101).Message(), "Disk full");
  EXPECT_EQ(EInOutError(106).Message(), "Invalid numeric input");
}

TEST(InOutErrorMessage, OtherCodesNameTheirNumber) {
  EXPECT_EQ(EInOutError(32).Message(), "I/O error 32");
  EXPECT_EQ(EInOutError(267).Message(), "I/O error 267");
  EXPECT_EQ(EInOutError(32).ErrorCode(), 32);
}

TEST(ErrorMessages, CarryTheirSubject) {
  EXPECT_EQ(EFOpenError("d:\\layout.dat\\tc24\\back.bmp").Message(),
            "Cannot open file d:\\layout.dat\\tc24\\back.bmp");
  EXPECT_EQ(EInvalidGraphic::UnknownExtension("gif").Message(),
            "Unknown picture file extension (.gif)");
  EXPECT_EQ(EInvalidGraphic::NotValid().Message(), "Bitmap image is not valid");
  EXPECT_EQ(EReadError().Message(), "Stream read error");
  EXPECT_STREQ(ERangeError().what(), "Range check error");
}

TEST(CheckedArithmetic, ThrowsOnOverflowInsteadOfWrapping) {
  EXPECT_EQ(CheckedAdd(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_THROW(CheckedAdd(INT32_MAX, 1), EIntOverflow);
  EXPECT_THROW(CheckedSub(INT32_MIN, 1), EIntOverflow);
  EXPECT_THROW(CheckedMul(65536, 65536), EIntOverflow);
  EXPECT_THROW(CheckedDiv(INT32_MIN, -1), EIntOverflow);
  EXPECT_THROW(CheckedInt32(size_t{1} << 31), EIntOverflow);
  EXPECT_EQ(CheckedInt32(size_t{123}), 123);
}

TEST(CheckedArithmetic, DivisionTruncatesTowardZero) {
  EXPECT_EQ(CheckedDiv(-15, 2), -7);
  EXPECT_EQ(CheckedDiv(15, 2), 7);
}

TEST(RangeArray, RejectsIndexesOutsideItsBounds) {
  RangeArray<int, 1, 15> slots;
  slots[1] = 10;
  slots[15] = 150;
  EXPECT_EQ(slots[1], 10);
  EXPECT_EQ(slots[15], 150);
  EXPECT_THROW(slots[0], ERangeError);
  EXPECT_THROW(slots[16], ERangeError);
  EXPECT_THROW(slots[-1], ERangeError);
}

}  // namespace
}  // namespace foyer
