// The pictures of the demonstration medium: the two skins, previews, pictures to show and the
// frames of its videos. All drawn with integer arithmetic, so every run gives the same pixels.
#include "medgen/Artwork.h"

#include <algorithm>
#include <cstdlib>

#include "medgen/FixedMath.h"

namespace foyer::medgen {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// A point at distance radius from the centre, at phase (a quarter turn points down).
Point Polar(int centerX, int centerY, int radius, int32_t phase) {
  return {centerX + static_cast<int>(int64_t{radius} * Cosine(phase) / kSineOne),
          centerY + static_cast<int>(int64_t{radius} * Sine(phase) / kSineOne)};
}

// The part of a ring between two directions, turning clockwise on the screen from the first.
void FillSector(Image& image, int centerX, int centerY, int outerRadius, int innerRadius,
                int32_t fromPhase, int32_t toPhase, Rgb color, int alpha) {
  const int64_t fx = Cosine(fromPhase);
  const int64_t fy = Sine(fromPhase);
  const int64_t tx = Cosine(toPhase);
  const int64_t ty = Sine(toPhase);
  const int64_t outer = int64_t{outerRadius} * kSub * outerRadius * kSub;
  const int64_t inner = int64_t{innerRadius} * kSub * innerRadius * kSub;
  const int cx = centerX * kSub;
  const int cy = centerY * kSub;
  FillShape(image, centerX - outerRadius - 1, centerY - outerRadius - 1, centerX + outerRadius + 1,
            centerY + outerRadius + 1, color, alpha, [=](int x, int y) {
              const int64_t dx = x - cx;
              const int64_t dy = y - cy;
              const int64_t d = dx * dx + dy * dy;
              if (d > outer || d <= inner) return false;
              return fx * dy - fy * dx >= 0 && dx * ty - dy * tx >= 0;
            });
}

// A band between two wavy lines across the whole width: a sum of two sines around baseY.
std::vector<Point> WaveBand(int width, int baseY, int amplitude, int32_t phase, int waves,
                            int bottomY) {
  std::vector<Point> points;
  for (int x = 0; x <= width + 8; x += 8) {
    const int32_t p = static_cast<int32_t>(int64_t{x} * kPhaseTurn * waves / width) + phase;
    const int y = baseY + static_cast<int>(int64_t{amplitude} * (2 * Sine(p) + Sine(3 * p + 9000)) /
                                           (3 * kSineOne));
    points.push_back({x, y});
  }
  points.push_back({width + 8, bottomY});
  points.push_back({0, bottomY});
  return points;
}

void DrawShadowedText(Image& image, int left, int top, const std::string& text, int scale,
                      Rgb color, Rgb shadow, int shadowAlpha) {
  const int offset = std::max(1, scale / 2);
  DrawText(image, left + offset, top + offset, text, scale, shadow, shadowAlpha);
  DrawText(image, left, top, text, scale, color);
}

void DrawDisc(Image& image, int cx, int cy, int radius) {
  const int hub = radius * 36 / 100;
  const int hole = radius * 16 / 100;
  FillRing(image, cx + 2, cy + 3, radius, hole, kBlack, 70);
  FillRing(image, cx, cy, radius, hole, {196, 204, 220});
  // Light splits into colours on the data side; two opposite fans of tints imitate it.
  const Rgb tints[] = {{120, 220, 255}, {170, 140, 255}, {255, 150, 220}, {255, 230, 140}};
  for (int i = 0; i < 4; ++i) {
    const int32_t from = 5000 + i * 3000;
    FillSector(image, cx, cy, radius - 1, hub, from, from + 3000, tints[i], 120);
    FillSector(image, cx, cy, radius - 1, hub, from + kPhaseTurn / 2, from + kPhaseTurn / 2 + 3000,
               tints[3 - i], 110);
  }
  FillRing(image, cx, cy, radius, radius - 2, {236, 240, 248}, 200);
  FillRing(image, cx, cy, hub, hole, {232, 236, 244});
  FillRing(image, cx, cy, hub, hub - 2, {150, 158, 176});
  FillRing(image, cx, cy, hole + 2, hole, {150, 158, 176});
}

Image NightBackground() {
  Image image(kBackWidth, kBackHeight);
  FillVerticalGradient(image, 0, 0, kBackWidth, kBackHeight, {8, 14, 46}, {30, 68, 134});
  AddGlow(image, 311, 60, 300, {70, 120, 220}, 110);
  Lcg random(24);
  for (int i = 0; i < 140; ++i) {
    const int x = random.Below(kBackWidth);
    const int y = random.Below(kBackHeight * 2 / 3);
    const int brightness = 70 + random.Below(170);
    if (random.Below(6) == 0) {
      AddGlow(image, x, y, 5, {200, 220, 255}, brightness / 2);
      FillCircle(image, x, y, 1, {235, 242, 255}, brightness);
    } else {
      image.Blend(x, y, {225, 232, 255}, brightness);
    }
  }
  // Ribbons of light along the bottom, like the aurora over a horizon.
  FillPolygon(image, WaveBand(kBackWidth, 330, 26, 0, 2, kBackHeight), {70, 170, 255}, 46);
  FillPolygon(image, WaveBand(kBackWidth, 360, 20, 20000, 3, kBackHeight), {150, 110, 255}, 40);
  FillPolygon(image, WaveBand(kBackWidth, 395, 14, 41000, 2, kBackHeight), {40, 210, 220}, 50);
  FillPolygon(image, WaveBand(kBackWidth, 418, 10, 9000, 4, kBackHeight), {10, 18, 48});
  DrawDisc(image, 184, 62, 46);
  DrawShadowedText(image, 252, 26, "EXTRAS", 6, {240, 246, 255}, {0, 0, 24}, 140);
  DrawText(image, 254, 80, "DEMONSTRATION DISC", 2, {150, 196, 255});
  FillRect(image, 254, 70, 206, 2, {120, 170, 255}, 160);
  return image;
}

void DrawCloud(Image& image, int x, int y, int size) {
  FillCircle(image, x, y, size, kWhite, 170);
  FillCircle(image, x + size, y - size / 2, size * 5 / 4, kWhite, 170);
  FillCircle(image, x + size * 2, y, size, kWhite, 170);
  FillRoundRect(image, x - size / 2, y, size * 3, size, size / 2, kWhite, 170);
}

void DrawBird(Image& image, int x, int y, int span) {
  const Rgb ink{110, 60, 40};
  DrawLine(image, {x - span, y - span / 2}, {x, y}, 2, ink);
  DrawLine(image, {x, y}, {x + span, y - span / 2}, 2, ink);
}

Image DawnBackground() {
  Image image(kBackWidth, kBackHeight);
  FillVerticalGradient(image, 0, 0, kBackWidth, 300, {244, 132, 76}, {255, 226, 156});
  FillVerticalGradient(image, 0, 300, kBackWidth, kBackHeight - 300, {255, 226, 156},
                       {255, 236, 180});
  AddGlow(image, 448, 58, 150, {255, 246, 200}, 170);
  FillCircle(image, 448, 58, 30, {255, 250, 226});
  DrawCloud(image, 382, 104, 9);
  DrawCloud(image, 250, 150, 12);
  DrawBird(image, 440, 112, 7);
  DrawBird(image, 458, 104, 5);
  DrawBird(image, 424, 100, 4);
  FillPolygon(image, WaveBand(kBackWidth, 280, 30, 12000, 2, kBackHeight), {176, 196, 120});
  FillPolygon(image, WaveBand(kBackWidth, 330, 24, 30000, 3, kBackHeight), {118, 164, 82});
  FillPolygon(image, WaveBand(kBackWidth, 385, 18, 52000, 2, kBackHeight), {70, 124, 58});
  DrawShadowedText(image, 150, 26, "EXTRAS", 6, {112, 46, 18}, {255, 240, 200}, 200);
  DrawText(image, 152, 80, "DEMONSTRATION DISC", 2, {150, 70, 30});
  FillRect(image, 152, 70, 206, 2, {150, 70, 30}, 180);
  return image;
}

Image Button(Rgb top, Rgb bottom, Rgb border, Rgb shade) {
  Image image(kButtonWidth, kButtonHeight, border);
  FillVerticalGradient(image, 1, 1, kButtonWidth - 2, kButtonHeight - 2, top, bottom);
  FillRect(image, 1, 1, kButtonWidth - 2, 1, kWhite, 200);
  FillRect(image, 1, 1, 1, kButtonHeight - 2, kWhite, 140);
  FillRect(image, 1, kButtonHeight - 2, kButtonWidth - 2, 1, shade);
  FillRect(image, kButtonWidth - 2, 1, 1, kButtonHeight - 2, shade);
  // Softened corners: the frame's corner pixels take the colour half-way to the inside.
  for (Point p : {Point{0, 0}, Point{kButtonWidth - 1, 0}, Point{0, kButtonHeight - 1},
                  Point{kButtonWidth - 1, kButtonHeight - 1}}) {
    image.Set(p.X, p.Y, Mix(border, Mix(top, bottom, 1, 2), 1, 2));
  }
  return image;
}

void DrawHeart(Image& image, int cx, int cy, int size, Rgb color) {
  FillCircle(image, cx - size / 2, cy - size / 4, size / 2 + 1, color);
  FillCircle(image, cx + size / 2, cy - size / 4, size / 2 + 1, color);
  FillPolygon(image,
              {{cx - size - 1, cy - size / 8}, {cx + size + 1, cy - size / 8}, {cx, cy + size}},
              color);
}

void DrawSpade(Image& image, int cx, int cy, int size, Rgb color) {
  FillCircle(image, cx - size / 2, cy + size / 4, size / 2 + 1, color);
  FillCircle(image, cx + size / 2, cy + size / 4, size / 2 + 1, color);
  FillPolygon(image,
              {{cx - size - 1, cy + size / 8}, {cx + size + 1, cy + size / 8}, {cx, cy - size}},
              color);
  FillPolygon(image,
              {{cx, cy + size / 4}, {cx - size / 2, cy + size + 2}, {cx + size / 2, cy + size + 2}},
              color);
}

void DrawGear(Image& image, int cx, int cy, int radius, Rgb color) {
  std::vector<Point> points;
  constexpr int kTeeth = 10;
  for (int i = 0; i < kTeeth * 4; ++i) {
    const int r = (i % 4 == 1 || i % 4 == 2) ? radius : radius * 78 / 100;
    points.push_back(Polar(cx, cy, r, i * kPhaseTurn / (kTeeth * 4)));
  }
  FillPolygon(image, points, color);
}

void DrawPictogram(Image& image, Pictogram pictogram, int cx, int cy) {
  switch (pictogram) {
    case Pictogram::Palette: {
      const Rgb behind = image.At(cx + 14, cy + 14);
      FillCircle(image, cx, cy, 34, {236, 206, 150});
      const Rgb paints[] = {
          {220, 40, 40}, {250, 200, 30}, {40, 160, 60}, {40, 90, 220}, {150, 60, 190}};
      for (int i = 0; i < 5; ++i) {
        const Point spot = Polar(cx, cy, 22, 30000 + i * 7500);
        FillCircle(image, spot.X, spot.Y, 6, paints[i]);
      }
      FillCircle(image, cx + 14, cy + 14, 7, behind);  // the thumb hole
      DrawLine(image, {cx + 40, cy - 34}, {cx + 4, cy + 6}, 5, {120, 70, 30});
      DrawLine(image, {cx + 6, cy + 4}, {cx - 2, cy + 12}, 6, {40, 40, 40});
      break;
    }
    case Pictogram::Globe: {
      FillCircle(image, cx, cy, 36, {40, 110, 210});
      FillPolygon(image,
                  {{cx - 24, cy - 18},
                   {cx - 4, cy - 26},
                   {cx + 2, cy - 8},
                   {cx - 10, cy + 6},
                   {cx - 22, cy}},
                  {70, 170, 80});
      FillPolygon(image,
                  {{cx + 8, cy - 4},
                   {cx + 28, cy - 10},
                   {cx + 26, cy + 14},
                   {cx + 10, cy + 26},
                   {cx + 4, cy + 10}},
                  {70, 170, 80});
      FillRing(image, cx, cy, 36, 34, {220, 235, 255}, 180);
      for (int band = -2; band <= 2; ++band) {
        FillRect(image, cx - 34, cy + band * 12, 68, 1, {220, 235, 255}, 80);
      }
      AddGlow(image, cx - 12, cy - 14, 18, kWhite, 90);
      break;
    }
    case Pictogram::Cards: {
      FillRoundRect(image, cx - 40, cy - 30, 44, 62, 5, {60, 60, 60}, 90);
      FillRoundRect(image, cx - 42, cy - 32, 44, 62, 5, kWhite);
      DrawSpade(image, cx - 20, cy - 4, 10, {20, 20, 20});
      FillRoundRect(image, cx - 2, cy - 26, 44, 62, 5, {60, 60, 60}, 90);
      FillRoundRect(image, cx - 4, cy - 28, 44, 62, 5, {255, 252, 244});
      DrawHeart(image, cx + 18, cy, 10, {210, 30, 40});
      break;
    }
    case Pictogram::Keyboard: {
      FillRoundRect(image, cx - 52, cy - 24, 104, 50, 6, {70, 74, 86});
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 9 - (row == 2 ? 1 : 0); ++col) {
          FillRoundRect(image, cx - 48 + col * 11 + row * 4, cy - 19 + row * 12, 9, 9, 2,
                        {232, 234, 240});
        }
      }
      FillRoundRect(image, cx - 26, cy + 15, 52, 8, 2, {232, 234, 240});
      break;
    }
    case Pictogram::Letters: {
      DrawShadowedText(image, cx - TextWidth("ABC", 6) / 2, cy - 24, "ABC", 6, {40, 40, 60},
                       {0, 0, 0}, 60);
      DrawTextCentred(image, cx, cy + 24, "TITLE FONTS", 1, {60, 60, 90});
      break;
    }
    case Pictogram::Icons: {
      for (int i = 0; i < 9; ++i) {
        const Image icon = IconPicture(24, i);
        const int left = cx - 42 + (i % 3) * 30;
        const int top = cy - 40 + (i / 3) * 28;
        for (int y = 0; y < icon.Height(); ++y) {
          for (int x = 0; x < icon.Width(); ++x)
            image.Set(left + x, top + y, icon.At(x, y));
        }
      }
      break;
    }
    case Pictogram::Gear: {
      DrawGear(image, cx - 10, cy, 32, {110, 120, 140});
      FillCircle(image, cx - 10, cy, 10, {236, 240, 246});
      DrawGear(image, cx + 30, cy - 20, 18, {160, 110, 60});
      FillCircle(image, cx + 30, cy - 20, 6, {236, 240, 246});
      break;
    }
  }
}

// Light, distinct tints for the previews' backgrounds.
Rgb PreviewTint(Pictogram pictogram) {
  switch (pictogram) {
    case Pictogram::Palette:
      return {255, 236, 214};
    case Pictogram::Globe:
      return {214, 236, 255};
    case Pictogram::Cards:
      return {200, 236, 204};
    case Pictogram::Keyboard:
      return {236, 226, 255};
    case Pictogram::Letters:
      return {255, 250, 220};
    case Pictogram::Icons:
      return {226, 244, 248};
    case Pictogram::Gear:
      return {236, 236, 236};
  }
  return kWhite;
}

Image VideoBackdrop(Rgb top, Rgb bottom) {
  Image image(160, 120);
  FillVerticalGradient(image, 0, 0, 160, 120, top, bottom);
  return image;
}

}  // namespace

Image SkinBackground(Skin skin) {
  return skin == Skin::Tc24 ? NightBackground() : DawnBackground();
}

Image SkinButton(Skin skin) {
  if (skin == Skin::Tc24)
    return Button({244, 248, 255}, {192, 210, 238}, {26, 48, 100}, {150, 172, 214});
  return Button({255, 251, 232}, {244, 220, 166}, {122, 66, 22}, {214, 180, 120});
}

Image PreviewPicture(Pictogram pictogram, const std::string& title) {
  Image image(kPreviewWidth, kPreviewHeight);
  const Rgb tint = PreviewTint(pictogram);
  FillVerticalGradient(image, 0, 0, kPreviewWidth, kPreviewHeight, kWhite, tint);
  FillRect(image, 0, 0, kPreviewWidth, 1, {120, 120, 140});
  FillRect(image, 0, kPreviewHeight - 1, kPreviewWidth, 1, {120, 120, 140});
  FillRect(image, 0, 0, 1, kPreviewHeight, {120, 120, 140});
  FillRect(image, kPreviewWidth - 1, 0, 1, kPreviewHeight, {120, 120, 140});
  DrawPictogram(image, pictogram, kPreviewWidth / 2, 50);
  DrawTextCentred(image, kPreviewWidth / 2, 98, title, 2, {40, 40, 70});
  return image;
}

Image LandscapePicture(int width, int height) {
  Image image(width, height);
  const int horizon = height * 62 / 100;
  FillVerticalGradient(image, 0, 0, width, horizon, {64, 40, 120}, {255, 150, 70});
  FillVerticalGradient(image, 0, horizon, width, height - horizon, {200, 110, 80}, {30, 30, 70});
  const int sunX = width * 58 / 100;
  AddGlow(image, sunX, horizon - height / 10, height / 2, {255, 200, 120}, 160);
  FillCircle(image, sunX, horizon - height / 10, height / 9, {255, 236, 170});
  FillPolygon(image, WaveBand(width, horizon - height / 6, height / 10, 5000, 2, horizon),
              {120, 70, 120});
  FillPolygon(image, WaveBand(width, horizon - height / 14, height / 16, 30000, 3, horizon),
              {80, 44, 90});
  // The sun's reflection: broken stripes on the water, shorter further down.
  Lcg random(7);
  for (int y = horizon + 3; y < height; y += 4) {
    const int spread = (y - horizon) * 2 / 3 + 6;
    for (int k = 0; k < 3; ++k) {
      const int length = 4 + random.Below(spread);
      const int x = sunX - spread / 2 + random.Below(spread);
      FillRect(image, x - length / 2, y, length, 2, {255, 210, 150},
               150 - (y - horizon) * 100 / height);
    }
  }
  return image;
}

Image MosaicPicture(int width, int height) {
  constexpr int kTile = 32;
  const Rgb colors[] = {{232, 84, 60}, {252, 196, 64},  {64, 168, 140},
                        {48, 96, 176}, {244, 236, 220}, {140, 70, 150}};
  Image image(width, height, {30, 30, 40});
  Lcg random(32);
  for (int ty = 0; ty * kTile < height; ++ty) {
    for (int tx = 0; tx * kTile < width; ++tx) {
      const int left = tx * kTile;
      const int top = ty * kTile;
      const Rgb base = colors[random.Below(6)];
      const Rgb arc = colors[random.Below(6)];
      FillRect(image, left + 1, top + 1, kTile - 2, kTile - 2, base);
      // Truchet tiles: two quarter rings in opposite corners, turned at random.
      if (random.Below(2) == 0) {
        FillSector(image, left, top, kTile / 2 + 5, kTile / 2 - 5, 0, kPhaseTurn / 4, arc, 255);
        FillSector(image, left + kTile, top + kTile, kTile / 2 + 5, kTile / 2 - 5, kPhaseTurn / 2,
                   kPhaseTurn * 3 / 4, arc, 255);
      } else {
        FillSector(image, left + kTile, top, kTile / 2 + 5, kTile / 2 - 5, kPhaseTurn / 4,
                   kPhaseTurn / 2, arc, 255);
        FillSector(image, left, top + kTile, kTile / 2 + 5, kTile / 2 - 5, kPhaseTurn * 3 / 4,
                   kPhaseTurn, arc, 255);
      }
      FillRect(image, left, top, kTile, 1, {30, 30, 40});
      FillRect(image, left, top, 1, kTile, {30, 30, 40});
    }
  }
  return image;
}

IndexedImage FractalPicture(int width, int height) {
  constexpr int kMaxIterations = 120;
  constexpr int kShift = 26;  // fixed point with 26 fraction bits
  IndexedImage image;
  image.Width = width;
  image.Height = height;
  image.Palette.push_back({8, 8, 24});  // the set itself
  const Rgb stops[] = {{20, 20, 80},   {40, 110, 220}, {250, 250, 255},
                       {255, 180, 40}, {180, 40, 30},  {20, 20, 80}};
  for (int i = 0; i < 255; ++i) {
    const int segment = i * 5 / 255;
    image.Palette.push_back(Mix(stops[segment], stops[segment + 1], i * 5 - segment * 255, 255));
  }
  // The whole set: centre (-0.65, 0), 2.4 units tall.
  const int64_t one = int64_t{1} << kShift;
  const int64_t centerX = -65 * one / 100;
  const int64_t centerY = 0;
  const int64_t step = 24 * one / 10 / height;
  for (int py = 0; py < height; ++py) {
    for (int px = 0; px < width; ++px) {
      const int64_t cr = centerX + (px - width / 2) * step;
      const int64_t ci = centerY + (py - height / 2) * step;
      int64_t zr = 0;
      int64_t zi = 0;
      int n = 0;
      for (; n < kMaxIterations; ++n) {
        const int64_t zr2 = zr * zr >> kShift;
        const int64_t zi2 = zi * zi >> kShift;
        if (zr2 + zi2 > 4 * one) break;
        zi = (2 * zr * zi >> kShift) + ci;
        zr = zr2 - zi2 + cr;
      }
      image.Pixels.push_back(static_cast<uint8_t>(n == kMaxIterations ? 0 : 1 + (n * 6) % 255));
    }
  }
  return image;
}

Image PosterPicture(int width, int height) {
  Image image(width, height, {240, 232, 212});
  FillRect(image, 0, height * 2 / 3, width, height / 3, {40, 60, 110});
  FillCircle(image, width / 3, height / 3, height / 4, {220, 50, 40});
  FillPolygon(image,
              {{width / 2, height - 10}, {width - 20, height - 10}, {width * 3 / 4, height / 6}},
              {250, 190, 30});
  FillRect(image, width / 12, height / 12, width / 20, height * 5 / 6, {20, 20, 20});
  FillRing(image, width * 3 / 4, height / 4, height / 7, height / 11, {30, 130, 90});
  for (int i = 0; i < 5; ++i) {
    FillRect(image, width / 6 + i * width / 14, height * 3 / 4, width / 28, height / 6,
             {240, 232, 212});
  }
  return image;
}

Image IconPicture(int size, int variant) {
  const Rgb colors[] = {{220, 60, 50},  {240, 180, 40}, {60, 160, 80},  {50, 110, 210},
                        {150, 70, 170}, {40, 160, 170}, {230, 110, 40}, {100, 100, 110}};
  const Rgb color = colors[variant % 8];
  Image image(size, size, kWhite);
  const int c = size / 2;
  switch (variant % 4) {
    case 0:
      FillCircle(image, c, c, size * 2 / 5, color);
      break;
    case 1:
      FillRoundRect(image, size / 8, size / 8, size * 3 / 4, size * 3 / 4, size / 6, color);
      break;
    case 2:
      FillPolygon(
          image,
          {{c, size / 10}, {size - size / 10, size - size / 8}, {size / 10, size - size / 8}},
          color);
      break;
    default:
      DrawHeart(image, c, c, size / 3, color);
      break;
  }
  FillRect(image, 0, 0, size, 1, {180, 180, 190});
  FillRect(image, 0, size - 1, size, 1, {180, 180, 190});
  FillRect(image, 0, 0, 1, size, {180, 180, 190});
  FillRect(image, size - 1, 0, 1, size, {180, 180, 190});
  return image;
}

std::vector<Image> BounceFrames(int count) {
  std::vector<Image> frames;
  for (int i = 0; i < count; ++i) {
    Image frame = VideoBackdrop({150, 200, 250}, {230, 244, 255});
    FillRect(frame, 0, 96, 160, 24, {90, 150, 80});
    FillRect(frame, 0, 96, 160, 2, {60, 110, 60});
    // Two bounces across the picture: the height follows |sine| of the time.
    const int x = 20 + 120 * i / std::max(count - 1, 1);
    const int32_t phase = i * kPhaseTurn / std::max(count, 1);
    const int lift = static_cast<int>(int64_t{66} * std::abs(Sine(phase)) / kSineOne);
    const int y = 84 - lift;
    FillRoundRect(frame, x - 12 + lift / 8, 95, 24 - lift / 4, 4, 2, kBlack, 80);
    FillCircle(frame, x, y, 12, {220, 40, 50});
    FillCircle(frame, x - 4, y - 4, 4, kWhite, 170);
    frames.push_back(std::move(frame));
  }
  return frames;
}

std::vector<Image> OrbitFrames(int count) {
  std::vector<Image> frames;
  Lcg random(5);
  std::vector<Point> stars;
  for (int i = 0; i < 40; ++i)
    stars.push_back({random.Below(160), random.Below(120)});
  for (int i = 0; i < count; ++i) {
    Image frame = VideoBackdrop({6, 8, 30}, {20, 24, 60});
    for (const Point& star : stars)
      frame.Blend(star.X, star.Y, kWhite, 180);
    const int32_t phase = i * kPhaseTurn / std::max(count, 1);
    AddGlow(frame, 80, 60, 34, {255, 200, 80}, 180);
    FillCircle(frame, 80, 60, 14, {255, 220, 110});
    FillRing(frame, 80, 60, 52, 51, {120, 140, 200}, 90);
    const Point planet = Polar(80, 60, 52, phase);
    FillCircle(frame, planet.X, planet.Y, 7, {70, 140, 230});
    const Point moon = Polar(planet.X, planet.Y, 14, phase * 3);
    FillCircle(frame, moon.X, moon.Y, 3, {210, 210, 220});
    frames.push_back(std::move(frame));
  }
  return frames;
}

std::vector<Image> IntroFrames(int count) {
  std::vector<Image> frames;
  for (int i = 0; i < count; ++i) {
    Image frame = VideoBackdrop({8, 14, 46}, {30, 68, 134});
    const int32_t phase = i * kPhaseTurn / std::max(count, 1);
    const int radius = 10 + 26 * std::min(i, count / 2) / std::max(count / 2, 1);
    DrawDisc(frame, 80, 48, radius);
    // The sheen turns as the disc spins.
    FillSector(frame, 80, 48, radius - 1, radius * 36 / 100, phase, phase + 4000, kWhite, 90);
    const int shown = std::min<int>(7, i * 7 / std::max(count * 2 / 3, 1));
    // Letters appear one by one in their final places.
    const std::string title = "WELCOME";
    DrawText(frame, 80 - TextWidth(title, 2) / 2, 94, title.substr(0, static_cast<size_t>(shown)),
             2, {240, 246, 255});
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace foyer::medgen
