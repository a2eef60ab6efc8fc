// Writes uncompressed AVI videos: one video stream of 24-bit device-independent bitmap frames.
#pragma once

#include <string>
#include <vector>

#include "medgen/Picture.h"

namespace foyer::medgen {

// RIFF "AVI " with hdrl (avih, strl with strh and strf), movi ("00db" frames) and an idx1 index
// whose offsets count from the "movi" type code. Every frame must have the first one's size.
std::string MakeAvi(const std::vector<Image>& frames, int framesPerSecond);

}  // namespace foyer::medgen
