// The pictures of the demonstration medium: the two skins, previews, pictures to show and the
// frames of its videos. All drawn with integer arithmetic, so every run gives the same pixels.
#pragma once

#include <string>
#include <vector>

#include "medgen/Picture.h"

namespace foyer::medgen {

// The two skins: rgb256 for screens of 8 bits per pixel, tc24 for 16 bits and more.
enum class Skin { Rgb256, Tc24 };

// The background matches the main window's designed client area, so it is not stretched there.
constexpr int kBackWidth = 622;
constexpr int kBackHeight = 443;
constexpr int kButtonWidth = 105;
constexpr int kButtonHeight = 41;

// rgb256: a warm dawn over green hills; tc24: a starry night with a disc emblem.
Image SkinBackground(Skin skin);
// Light enough under its black caption: cream for rgb256, pale blue for tc24.
Image SkinButton(Skin skin);

// What a preview picture shows above its title.
enum class Pictogram { Palette, Globe, Cards, Keyboard, Letters, Icons, Gear };

constexpr int kPreviewWidth = 160;
constexpr int kPreviewHeight = 120;
Image PreviewPicture(Pictogram pictogram, const std::string& title);

// Pictures for the picture category.
Image LandscapePicture(int width, int height);
Image MosaicPicture(int width, int height);
// Its palette is the fractal's own colour ramp, so it needs no reduction.
IndexedImage FractalPicture(int width, int height);
Image PosterPicture(int width, int height);
// A small square symbol, varied by variant, for icon collections.
Image IconPicture(int size, int variant);

// Video frames, 160 x 120: a bouncing ball, a small planet system, a title sequence.
std::vector<Image> BounceFrames(int count);
std::vector<Image> OrbitFrames(int count);
std::vector<Image> IntroFrames(int count);

}  // namespace foyer::medgen
