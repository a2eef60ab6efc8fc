// A true-colour drawing surface with anti-aliased shapes and a small built-in font, and its
// reduction to a palette of at most 256 colours.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace foyer::medgen {

struct Rgb {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour t/tMax of the way from a to b.
Rgb Mix(Rgb a, Rgb b, int t, int tMax);

struct Point {
  int X = 0;
  int Y = 0;
};

// Rows run top to bottom here; the bitmap writer turns them bottom-up.
class Image {
 public:
  Image(int width, int height, Rgb fill = {});
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  Rgb At(int x, int y) const;
  // Pixels outside the image are ignored, so shapes may overhang its edges.
  void Set(int x, int y, Rgb color);
  // Covers the pixel with color at opacity alpha/255.
  void Blend(int x, int y, Rgb color, int alpha);

 private:
  int FWidth;
  int FHeight;
  std::vector<Rgb> FPixels;
};

// Sub-pixel units: a shape is sampled at 4 x 4 points per pixel, each coordinate in eighths of a
// pixel, and covers the pixel in proportion to the points inside it.
constexpr int kSub = 8;

// Fills what inside() accepts within the pixel box [left, right) x [top, bottom).
void FillShape(Image& image, int left, int top, int right, int bottom, Rgb color, int alpha,
               const std::function<bool(int subX, int subY)>& inside);

void FillRect(Image& image, int left, int top, int width, int height, Rgb color, int alpha = 255);
void FillCircle(Image& image, int centerX, int centerY, int radius, Rgb color, int alpha = 255);
void FillRing(Image& image, int centerX, int centerY, int outerRadius, int innerRadius, Rgb color,
              int alpha = 255);
void FillRoundRect(Image& image, int left, int top, int width, int height, int radius, Rgb color,
                   int alpha = 255);
void FillPolygon(Image& image, const std::vector<Point>& points, Rgb color, int alpha = 255);
// A line of the given width with round ends.
void DrawLine(Image& image, Point from, Point to, int width, Rgb color, int alpha = 255);

// Top to bottom over the rectangle, from one colour to the other.
void FillVerticalGradient(Image& image, int left, int top, int width, int height, Rgb topColor,
                          Rgb bottomColor);
// A soft glow that fades from color at the centre to nothing at radius.
void AddGlow(Image& image, int centerX, int centerY, int radius, Rgb color, int alpha);

// Text in the built-in 5 x 7 capital font, each font pixel drawn as a cell of scale pixels.
// Lower-case letters are drawn as capitals; characters the font lacks are drawn as spaces.
int TextWidth(const std::string& text, int scale);
int TextHeight(int scale);
void DrawText(Image& image, int left, int top, const std::string& text, int scale, Rgb color,
              int alpha = 255);
void DrawTextCentred(Image& image, int centerX, int top, const std::string& text, int scale,
                     Rgb color, int alpha = 255);

// A picture whose pixels are indexes into a palette of at most 256 colours.
struct IndexedImage {
  int Width = 0;
  int Height = 0;
  std::vector<Rgb> Palette;
  std::vector<uint8_t> Pixels;  // row by row, top to bottom
};

// Reduces the picture to at most maxColors colours (median cut); with isDithered, an ordered
// dither hides the steps of smooth gradients. A picture with few enough colours keeps them exactly.
IndexedImage Quantize(const Image& image, int maxColors, bool isDithered);

}  // namespace foyer::medgen
