// A true-colour drawing surface with anti-aliased shapes and a small built-in font, and its
// reduction to a palette of at most 256 colours.
#include "medgen/Picture.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "medgen/FixedMath.h"

namespace foyer::medgen {

namespace {

struct Glyph {
  char Char;
  std::array<uint8_t, 7> Rows;  // five bits a row, the leftmost pixel in bit 4
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {'&', {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}},
};

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

const Glyph* FindGlyph(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const Glyph& glyph : kFont) {
    if (glyph.Char == c) return &glyph;
  }
  return nullptr;
}

int64_t Square(int64_t v) {
  return v * v;
}

uint32_t Pack(Rgb c) {
  return (uint32_t{c.R} << 16) | (uint32_t{c.G} << 8) | c.B;
}

Rgb Unpack(uint32_t v) {
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

uint8_t Channel(uint32_t packed, int channel) {
  return static_cast<uint8_t>(packed >> (16 - 8 * channel));
}

struct ColorCount {
  uint32_t Packed;
  uint32_t Count;
};

// Median cut: the box with the widest channel is split at its weighted median until there are
// enough boxes; each box gives its population's mean colour.
std::vector<Rgb> MedianCut(std::vector<ColorCount> colors, int maxColors) {
  struct Box {
    size_t Begin;
    size_t End;
  };
  auto widest = [&colors](const Box& box, int& channel) {
    int best = -1;
    for (int c = 0; c < 3; ++c) {
      int low = 255;
      int high = 0;
      for (size_t i = box.Begin; i < box.End; ++i) {
        low = std::min<int>(low, Channel(colors[i].Packed, c));
        high = std::max<int>(high, Channel(colors[i].Packed, c));
      }
      if (high - low > best) {
        best = high - low;
        channel = c;
      }
    }
    return best;
  };
  std::vector<Box> boxes{{0, colors.size()}};
  while (static_cast<int>(boxes.size()) < maxColors) {
    size_t chosen = boxes.size();
    int chosenChannel = 0;
    int chosenRange = 0;
    for (size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].End - boxes[b].Begin < 2) continue;
      int channel = 0;
      const int range = widest(boxes[b], channel);
      if (range > chosenRange) {
        chosen = b;
        chosenRange = range;
        chosenChannel = channel;
      }
    }
    if (chosen == boxes.size()) break;
    Box box = boxes[chosen];
    std::sort(colors.begin() + static_cast<std::ptrdiff_t>(box.Begin),
              colors.begin() + static_cast<std::ptrdiff_t>(box.End),
              [chosenChannel](const ColorCount& a, const ColorCount& b) {
                const uint8_t ca = Channel(a.Packed, chosenChannel);
                const uint8_t cb = Channel(b.Packed, chosenChannel);
                return ca != cb ? ca < cb : a.Packed < b.Packed;
              });
    uint64_t total = 0;
    for (size_t i = box.Begin; i < box.End; ++i)
      total += colors[i].Count;
    uint64_t running = 0;
    size_t split = box.Begin + 1;
    for (size_t i = box.Begin; i + 1 < box.End; ++i) {
      running += colors[i].Count;
      split = i + 1;
      if (running * 2 >= total) break;
    }
    boxes[chosen] = {box.Begin, split};
    boxes.push_back({split, box.End});
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) {
    uint64_t sum[3] = {0, 0, 0};
    uint64_t count = 0;
    for (size_t i = box.Begin; i < box.End; ++i) {
      for (int c = 0; c < 3; ++c)
        sum[c] += uint64_t{Channel(colors[i].Packed, c)} * colors[i].Count;
      count += colors[i].Count;
    }
    palette.push_back({static_cast<uint8_t>((sum[0] + count / 2) / count),
                       static_cast<uint8_t>((sum[1] + count / 2) / count),
                       static_cast<uint8_t>((sum[2] + count / 2) / count)});
  }
  return palette;
}

uint8_t Nearest(const std::vector<Rgb>& palette, int r, int g, int b) {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < palette.size(); ++i) {
    // Green weighs most and blue least, roughly as the eye sees differences.
    const int64_t d =
        3 * Square(r - palette[i].R) + 4 * Square(g - palette[i].G) + 2 * Square(b - palette[i].B);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return static_cast<uint8_t>(best);
}

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

Rgb Mix(Rgb a, Rgb b, int t, int tMax) {
  if (tMax <= 0) return a;
  t = std::clamp(t, 0, tMax);
  auto mix = [t, tMax](int x, int y) {
    return static_cast<uint8_t>((x * (tMax - t) + y * t + tMax / 2) / tMax);
  };
  return {mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B)};
}

Image::Image(int width, int height, Rgb fill)
    : FWidth(width),
      FHeight(height),
      FPixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

Rgb Image::At(int x, int y) const {
  return FPixels.at(static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x));
}

void Image::Set(int x, int y, Rgb color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)] = color;
}

void Image::Blend(int x, int y, Rgb color, int alpha) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || alpha <= 0) return;
  Set(x, y, Mix(At(x, y), color, std::min(alpha, 255), 255));
}

void FillShape(Image& image, int left, int top, int right, int bottom, Rgb color, int alpha,
               const std::function<bool(int subX, int subY)>& inside) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.Width());
  bottom = std::min(bottom, image.Height());
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      int hits = 0;
      for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
          if (inside(x * kSub + 2 * i + 1, y * kSub + 2 * j + 1)) ++hits;
        }
      }
      if (hits > 0) image.Blend(x, y, color, alpha * hits / 16);
    }
  }
}

void FillRect(Image& image, int left, int top, int width, int height, Rgb color, int alpha) {
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x)
      image.Blend(x, y, color, alpha);
  }
}

void FillCircle(Image& image, int centerX, int centerY, int radius, Rgb color, int alpha) {
  FillRing(image, centerX, centerY, radius, -1, color, alpha);
}

void FillRing(Image& image, int centerX, int centerY, int outerRadius, int innerRadius, Rgb color,
              int alpha) {
  const int64_t outer = Square(int64_t{outerRadius} * kSub);
  const int64_t inner = innerRadius < 0 ? -1 : Square(int64_t{innerRadius} * kSub);
  const int cx = centerX * kSub;
  const int cy = centerY * kSub;
  FillShape(image, centerX - outerRadius - 1, centerY - outerRadius - 1, centerX + outerRadius + 1,
            centerY + outerRadius + 1, color, alpha, [=](int x, int y) {
              const int64_t d = Square(x - cx) + Square(y - cy);
              return d <= outer && d > inner;
            });
}

void FillRoundRect(Image& image, int left, int top, int width, int height, int radius, Rgb color,
                   int alpha) {
  const int l = left * kSub;
  const int t = top * kSub;
  const int r = (left + width) * kSub;
  const int b = (top + height) * kSub;
  const int rr = radius * kSub;
  FillShape(image, left, top, left + width, top + height, color, alpha, [=](int x, int y) {
    if (x < l || x >= r || y < t || y >= b) return false;
    const int cx = std::clamp(x, l + rr, r - rr);
    const int cy = std::clamp(y, t + rr, b - rr);
    return Square(x - cx) + Square(y - cy) <= Square(rr);
  });
}

void FillPolygon(Image& image, const std::vector<Point>& points, Rgb color, int alpha) {
  if (points.size() < 3) return;
  int top = points[0].Y;
  int bottom = points[0].Y;
  for (const Point& p : points) {
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  top = std::max(top, 0);
  bottom = std::min(bottom + 1, image.Height());
  // Scanlines rather than a point-in-polygon test per sample: the wide wavy bands of the
  // backgrounds have a hundred edges each.
  std::vector<int> coverage(static_cast<size_t>(image.Width()));
  std::vector<int64_t> crossings;
  for (int y = top; y < bottom; ++y) {
    std::fill(coverage.begin(), coverage.end(), 0);
    for (int j = 0; j < 4; ++j) {
      const int64_t sy = int64_t{y} * kSub + 2 * j + 1;
      crossings.clear();
      for (size_t i = 0, k = points.size() - 1; i < points.size(); k = i++) {
        const int64_t xi = int64_t{points[i].X} * kSub;
        const int64_t yi = int64_t{points[i].Y} * kSub;
        const int64_t xk = int64_t{points[k].X} * kSub;
        const int64_t yk = int64_t{points[k].Y} * kSub;
        if ((yi > sy) == (yk > sy)) continue;
        // A sample at integer x lies left of the crossing exactly when x < ceil(crossing).
        const int64_t num = (xk - xi) * (sy - yi);
        const int64_t den = yk - yi;
        int64_t quotient = num / den;
        if (num % den != 0 && (num < 0) == (den < 0)) ++quotient;
        crossings.push_back(xi + quotient);
      }
      std::sort(crossings.begin(), crossings.end());
      for (size_t c = 0; c + 1 < crossings.size(); c += 2) {
        // Samples sit at odd eighths; the even-odd rule fills from one crossing to the next.
        int64_t sample = std::max<int64_t>(crossings[c] | 1, 1);
        const int64_t end = std::min<int64_t>(crossings[c + 1], int64_t{image.Width()} * kSub);
        for (; sample < end; sample += 2)
          ++coverage[static_cast<size_t>(sample / kSub)];
      }
    }
    for (int x = 0; x < image.Width(); ++x) {
      const int hits = coverage[static_cast<size_t>(x)];
      if (hits > 0) image.Blend(x, y, color, alpha * hits / 16);
    }
  }
}

void DrawLine(Image& image, Point from, Point to, int width, Rgb color, int alpha) {
  const int64_t ax = int64_t{from.X} * kSub;
  const int64_t ay = int64_t{from.Y} * kSub;
  const int64_t bx = int64_t{to.X} * kSub;
  const int64_t by = int64_t{to.Y} * kSub;
  const int64_t halfWidth = int64_t{width} * kSub / 2;
  const int64_t length2 = Square(bx - ax) + Square(by - ay);
  const int reach = width / 2 + 1;
  FillShape(image, std::min(from.X, to.X) - reach, std::min(from.Y, to.Y) - reach,
            std::max(from.X, to.X) + reach + 1, std::max(from.Y, to.Y) + reach + 1, color, alpha,
            [=](int x, int y) {
              const int64_t px = x - ax;
              const int64_t py = y - ay;
              const int64_t dot = px * (bx - ax) + py * (by - ay);
              int64_t distance2;
              if (dot <= 0 || length2 == 0) {
                distance2 = Square(px) + Square(py);
              } else if (dot >= length2) {
                distance2 = Square(x - bx) + Square(y - by);
              } else {
                const int64_t cross = px * (by - ay) - py * (bx - ax);
                distance2 = Square(cross) / length2;
              }
              return distance2 <= Square(halfWidth);
            });
}

void FillVerticalGradient(Image& image, int left, int top, int width, int height, Rgb topColor,
                          Rgb bottomColor) {
  for (int y = top; y < top + height; ++y) {
    const Rgb color = Mix(topColor, bottomColor, y - top, std::max(height - 1, 1));
    for (int x = left; x < left + width; ++x)
      image.Set(x, y, color);
  }
}

void AddGlow(Image& image, int centerX, int centerY, int radius, Rgb color, int alpha) {
  for (int y = centerY - radius; y <= centerY + radius; ++y) {
    for (int x = centerX - radius; x <= centerX + radius; ++x) {
      const int distance =
          static_cast<int>(ISqrt(static_cast<uint64_t>(Square(x - centerX) + Square(y - centerY))));
      if (distance >= radius) continue;
      const int64_t falloff = Square(radius - distance);
      image.Blend(x, y, color, static_cast<int>(alpha * falloff / Square(radius)));
    }
  }
}

int TextWidth(const std::string& text, int scale) {
  if (text.empty()) return 0;
  return (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}

int TextHeight(int scale) {
  return kGlyphHeight * scale;
}

void DrawText(Image& image, int left, int top, const std::string& text, int scale, Rgb color,
              int alpha) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* glyph = FindGlyph(text[i]);
    if (glyph == nullptr) continue;
    const int glyphLeft = left + static_cast<int>(i) * kGlyphAdvance * scale;
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if ((glyph->Rows[row] >> (kGlyphWidth - 1 - col) & 1) == 0) continue;
        FillRect(image, glyphLeft + col * scale, top + row * scale, scale, scale, color, alpha);
      }
    }
  }
}

void DrawTextCentred(Image& image, int centerX, int top, const std::string& text, int scale,
                     Rgb color, int alpha) {
  DrawText(image, centerX - TextWidth(text, scale) / 2, top, text, scale, color, alpha);
}

IndexedImage Quantize(const Image& image, int maxColors, bool isDithered) {
  IndexedImage result;
  result.Width = image.Width();
  result.Height = image.Height();
  std::vector<uint32_t> packed;
  packed.reserve(static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x)
      packed.push_back(Pack(image.At(x, y)));
  }
  std::vector<uint32_t> sorted = packed;
  std::sort(sorted.begin(), sorted.end());
  std::vector<ColorCount> colors;
  for (uint32_t value : sorted) {
    if (colors.empty() || colors.back().Packed != value) {
      colors.push_back({value, 0});
    }
    ++colors.back().Count;
  }
  result.Pixels.reserve(packed.size());
  if (static_cast<int>(colors.size()) <= maxColors) {
    for (const ColorCount& c : colors)
      result.Palette.push_back(Unpack(c.Packed));
    for (uint32_t value : packed) {
      const auto it =
          std::lower_bound(colors.begin(), colors.end(), value,
                           [](const ColorCount& c, uint32_t v) { return c.Packed < v; });
      result.Pixels.push_back(static_cast<uint8_t>(it - colors.begin()));
    }
    return result;
  }
  result.Palette = MedianCut(std::move(colors), maxColors);
  // Nearest colours are looked up once per cell of 4 x 4 x 4 levels.
  std::vector<int16_t> cache(64 * 64 * 64, -1);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb c = image.At(x, y);
      const int offset = isDithered ? (kBayer[y & 3][x & 3] * 2 - 15) * 6 / 15 : 0;
      const int r = std::clamp(c.R + offset, 0, 255) >> 2;
      const int g = std::clamp(c.G + offset, 0, 255) >> 2;
      const int b = std::clamp(c.B + offset, 0, 255) >> 2;
      int16_t& slot = cache[static_cast<size_t>((r << 12) | (g << 6) | b)];
      if (slot < 0) slot = Nearest(result.Palette, r * 4 + 2, g * 4 + 2, b * 4 + 2);
      result.Pixels.push_back(static_cast<uint8_t>(slot));
    }
  }
  return result;
}

}  // namespace foyer::medgen
