// Writes uncompressed AVI videos: one video stream of 24-bit device-independent bitmap frames.
#include "medgen/Avi.h"

#include <stdexcept>

#include "medgen/Bitmap.h"
#include "medgen/Bytes.h"

namespace foyer::medgen {

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAviifKeyFrame = 0x10;

std::string Chunk(const std::string& id, const std::string& data) {
  std::string out = id;
  PutU32(out, SizeU32(data.size()));
  out += data;
  if (data.size() % 2 != 0) out.push_back('\0');
  return out;
}

std::string List(const std::string& type, const std::string& content) {
  return Chunk("LIST", type + content);
}

}  // namespace

std::string MakeAvi(const std::vector<Image>& frames, int framesPerSecond) {
  if (frames.empty()) throw std::invalid_argument("a video needs at least one frame");
  if (framesPerSecond <= 0) throw std::invalid_argument("frames per second must be positive");
  const int width = frames.front().Width();
  const int height = frames.front().Height();
  const uint32_t frameBytes = DibRowBytes(width, 24) * static_cast<uint32_t>(height);
  const uint32_t frameCount = SizeU32(frames.size());

  std::string avih;
  PutU32(avih, 1000000u / static_cast<uint32_t>(framesPerSecond));
  PutU32(avih, frameBytes * static_cast<uint32_t>(framesPerSecond));
  PutU32(avih, 0);  // padding granularity
  PutU32(avih, kAvifHasIndex);
  PutU32(avih, frameCount);
  PutU32(avih, 0);  // initial frames
  PutU32(avih, 1);  // streams
  PutU32(avih, frameBytes);
  PutU32(avih, static_cast<uint32_t>(width));
  PutU32(avih, static_cast<uint32_t>(height));
  for (int i = 0; i < 4; ++i)
    PutU32(avih, 0);

  std::string strh = "vidsDIB ";
  PutU32(strh, 0);  // flags
  PutU16(strh, 0);  // priority
  PutU16(strh, 0);  // language
  PutU32(strh, 0);  // initial frames
  PutU32(strh, 1);  // scale: rate / scale is frames per second
  PutU32(strh, static_cast<uint32_t>(framesPerSecond));
  PutU32(strh, 0);  // start
  PutU32(strh, frameCount);
  PutU32(strh, frameBytes);
  PutU32(strh, 0xFFFFFFFFu);  // default quality
  PutU32(strh, 0);            // frames vary in size as far as the format is concerned
  PutU16(strh, 0);
  PutU16(strh, 0);
  PutU16(strh, static_cast<uint16_t>(width));
  PutU16(strh, static_cast<uint16_t>(height));

  std::string strf;
  PutBitmapInfoHeader(strf, width, height, 24, 0);

  const std::string hdrl =
      List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));

  std::string movi;
  std::string index;
  for (const Image& frame : frames) {
    if (frame.Width() != width || frame.Height() != height) {
      throw std::invalid_argument("every frame of a video must have the same size");
    }
    index += "00db";
    PutU32(index, kAviifKeyFrame);
    PutU32(index, SizeU32(movi.size() + 4));  // from the "movi" type code to the chunk
    PutU32(index, frameBytes);
    movi += Chunk("00db", DibPixels24(frame));
  }
  return Chunk("RIFF", "AVI " + hdrl + List("movi", movi) + Chunk("idx1", index));
}

}  // namespace foyer::medgen
