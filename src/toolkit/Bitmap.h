// Decodes device-independent bitmap files into plain pixels, safely for files from untrusted media.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace foyer {

// A decoded picture: Width x Height pixels, rows top-down, one 0x00RRGGBB value per pixel.
struct Picture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;
  // The file's colour table as 0x00RRGGBB, for screens of at most 256 colours; empty when the
  // file had none.
  std::vector<uint32_t> Palette;

  bool IsEmpty() const { return Width == 0 || Height == 0; }
};

// A few bytes of run-length escapes can claim any size, so this cap, not the file's length,
// bounds what a run-length encoded picture may allocate: 4096 x 4096 pixels (64 MB decoded).
// Larger ones are refused as not valid; uncompressed pictures are bounded by their own data.
inline constexpr uint64_t kMaxRlePixels = uint64_t{4096} * 4096;

// Decodes a whole .bmp file: the 12-byte core header and the 40-, 108- and 124-byte information
// headers; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, RLE4, RLE8 and bit-field masks;
// bottom-up and top-down rows. No bytes give an empty picture; a file that ends before data it
// must hold throws EReadError; anything else malformed throws EInvalidGraphic::NotValid.
// Palette indexes beyond the colour table, and pixels that run-length data leaves out, are black.
Picture DecodeBitmap(const uint8_t* data, size_t size);

// Loads a picture file through the installed file system, choosing the decoder by the extension
// of the name part (lower-cased); only "bmp" has one. Throws EInvalidGraphic::UnknownExtension,
// EFOpenError with the path as passed, EReadError, or what DecodeBitmap throws.
Picture LoadPicture(const std::string& path);

// The picture with every pixel moved toward white by a positive percentage, or toward black by
// a negative one; its colour table stays, for the screen's palette.
Picture Shaded(const Picture& picture, int32_t percent);

}  // namespace foyer
