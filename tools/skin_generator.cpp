// Draws the editor's built-in skin and writes it as a 736x592 24-bit
// uncompressed BMP of 1,307,192 bytes: skin_generator OUT.bmp
//
// The panels lie exactly under what the editor draws on the character grid
// (8x16 cells): the pattern view on columns 0-46 of lines 0-35, the
// instrument list on columns 48-83 of lines 11-27, the instrument editor from
// column 48 on lines 29-35, the order list from column 85 on lines 11-28.
// The logo fills the open area right of column 47 on lines 0-10, around the
// badge where the editor prints "NTSC" or " PAL" at (685, 100).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/font.h"

namespace qc {

namespace {

constexpr int kWidth = 736;
constexpr int kHeight = 592;
constexpr int kCell = 8;
constexpr int kLine = 16;
constexpr int kFileSize = 1307192;  // as the editor's format fixes it: 2 bytes of padding after the pixels

struct Colour {
  float r, g, b;
};

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct Canvas {
  std::vector<Colour> pixels = std::vector<Colour>(kWidth * kHeight);
  Colour& at(int x, int y) { return pixels[y * kWidth + x]; }
  void blend(int x, int y, Colour c, float alpha) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || alpha <= 0) return;
    at(x, y) = mix(at(x, y), c, std::min(alpha, 1.0f));
  }
};

struct Rect {
  int x, y, w, h;
};

Rect cells(int column, int line, int lastColumn, int lastLine) {
  return {column * kCell, line * kLine, (lastColumn - column + 1) * kCell, (lastLine - line + 1) * kLine};
}

// Coverage of a rounded rectangle at a pixel centre, anti-aliased over one pixel.
float roundedCoverage(const Rect& r, float radius, float px, float py) {
  const float cx = std::clamp(px, r.x + radius, r.x + r.w - radius);
  const float cy = std::clamp(py, r.y + radius, r.y + r.h - radius);
  const float d = std::hypot(px - cx, py - cy) - radius;
  return std::clamp(0.5f - d, 0.0f, 1.0f);
}

void backdrop(Canvas& c) {
  const Colour top{17, 19, 29}, bottom{9, 10, 16}, glow{34, 46, 84};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Colour base = mix(top, bottom, float(y) / kHeight);
      // A soft light behind the logo, upper right.
      const float d = std::hypot((x - 560.0f) / 300, (y - 70.0f) / 180);
      c.at(x, y) = mix(base, glow, 0.55f * std::exp(-d * d * 1.6f));
    }
}

// A panel: a gently shaded plate with a hairline rim and an optional header band.
void panel(Canvas& c, const Rect& r, int headerLines) {
  const Colour plateTop{24, 27, 40}, plateBottom{17, 19, 29}, header{33, 38, 58};
  const Colour rim{58, 66, 96}, highlight{84, 94, 132};
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float outer = roundedCoverage(r, 5, px, py);
      if (outer <= 0) continue;
      const Rect inner{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
      const float inside = roundedCoverage(inner, 4, px, py);
      Colour fill = mix(plateTop, plateBottom, float(y - r.y) / r.h);
      if (y < r.y + headerLines * kLine) fill = header;
      const Colour edge = y < r.y + r.h / 3 ? mix(highlight, rim, float(y - r.y) / (r.h / 3.0f)) : rim;
      c.blend(x, y, mix(edge, fill, inside), outer);
    }
  if (headerLines > 0) {
    const int y = r.y + headerLines * kLine - 1;
    for (int x = r.x + 1; x < r.x + r.w - 1; ++x) c.blend(x, y, rim, 0.8f);
  }
}

// Faint shading of every other pattern track, so the eye can follow a column.
void trackShading(Canvas& c) {
  for (int track : {1, 3})
    for (int y = kLine; y < 36 * kLine; ++y)
      for (int x = (10 * track + 3) * kCell; x < (10 * track + 12) * kCell; ++x)
        c.blend(x, y, Colour{40, 46, 68}, 0.22f);
}

// Distance from a point to a segment.
float segmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// An anti-aliased polyline with a soft glow around it.
void glowingLine(Canvas& c, const std::vector<std::pair<float, float>>& points, Colour core, Colour glow) {
  float minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (auto [x, y] : points) {
    minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  for (int y = int(minY) - 12; y <= int(maxY) + 12; ++y)
    for (int x = int(minX) - 12; x <= int(maxX) + 12; ++x) {
      float d = 1e9;
      for (size_t i = 1; i < points.size(); ++i)
        d = std::min(d, segmentDistance(x + 0.5f, y + 0.5f, points[i - 1].first, points[i - 1].second,
                                        points[i].first, points[i].second));
      c.blend(x, y, glow, 0.35f * std::exp(-d * d / 30));
      c.blend(x, y, core, std::clamp(1.6f - d, 0.0f, 1.0f));
    }
}

// The signature of the chip: a narrow pulse that turns into a triangle.
void waveform(Canvas& c) {
  std::vector<std::pair<float, float>> points;
  const float left = 404, top = 78, bottom = 106;
  float x = left;
  points.push_back({x, bottom});
  for (int i = 0; i < 4; ++i) {  // pulse, 25% duty
    points.push_back({x, top});
    points.push_back({x + 12, top});
    points.push_back({x + 12, bottom});
    points.push_back({x + 40, bottom});
    x += 40;
  }
  for (int i = 0; i < 3; ++i) {  // triangle
    points.push_back({x + 16, top});
    points.push_back({x + 32, bottom});
    x += 32;
  }
  glowingLine(c, points, Colour{150, 230, 170}, Colour{60, 170, 110});
}

void glyph(Canvas& c, unsigned char ch, int x0, int y0, int sx, int sy, Colour topColour, Colour bottomColour) {
  for (int row = 0; row < kGlyphRows; ++row)
    for (int bit = 0; bit < 8; ++bit) {
      if (!(kFont[ch * kGlyphRows + row] & (0x80 >> bit))) continue;
      for (int y = 0; y < sy; ++y)
        for (int x = 0; x < sx; ++x) {
          const float t = float(row * sy + y) / (kGlyphRows * sy);
          c.blend(x0 + bit * sx + x, y0 + row * sy + y, mix(topColour, bottomColour, t), 1);
        }
    }
}

void text(Canvas& c, const std::string& s, int x, int y, int sx, int sy, Colour top, Colour bottom) {
  for (size_t i = 0; i < s.size(); ++i) glyph(c, s[i], x + int(i) * 8 * sx, y, sx, sy, top, bottom);
}

void logo(Canvas& c) {
  const std::string title = "Quillchanter";
  const int scale = 3;
  const int width = int(title.size()) * 8 * scale;
  const int x = 384 + (352 - width) / 2, y = 22;
  const Colour shadow{4, 5, 10};
  for (int dy = 1; dy <= 4; ++dy) text(c, title, x + dy, y + dy, scale, scale, shadow, shadow);
  text(c, title, x, y, scale, scale, Colour{255, 226, 150}, Colour{236, 128, 64});
  const std::string subtitle = "music tracker for the 2A03";
  const int subX = 384 + (352 - int(subtitle.size()) * 8) / 2;
  text(c, subtitle, subX, 142, 1, 2, Colour{150, 164, 204}, Colour{112, 124, 164});
}

// The frame around the video standard the editor prints at (685, 100).
void standardBadge(Canvas& c) {
  panel(c, Rect{678, 94, 46, 28}, 0);
}

void writeBmp(Canvas& c, const char* path) {
  std::vector<uint8_t> file(kFileSize, 0);
  const int rowBytes = kWidth * 3;  // 2208, already a multiple of 4
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put32(2, kFileSize);
  put32(10, 54);  // pixel data offset
  put32(14, 40);  // BITMAPINFOHEADER
  put32(18, kWidth);
  put32(22, kHeight);  // positive: bottom row first
  file[26] = 1;        // planes
  file[28] = 24;       // bits per pixel
  put32(34, uint32_t(rowBytes * kHeight));
  put32(38, 2835), put32(42, 2835);  // 72 dpi
  // 4x4 ordered dither keeps the long gradients free of bands.
  constexpr float kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const Colour p = c.at(x, y);
      const float d = (kBayer[y & 3][x & 3] + 0.5f) / 16;
      auto q = [&](float v) { return uint8_t(std::clamp(std::floor(v + d), 0.0f, 255.0f)); };
      uint8_t* out = &file[54 + (kHeight - 1 - y) * rowBytes + x * 3];
      out[0] = q(p.b), out[1] = q(p.g), out[2] = q(p.r);
    }
  FILE* f = std::fopen(path, "wb");
  if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "skin_generator: cannot write %s\n", path);
    std::exit(1);
  }
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin_generator OUT.bmp\n");
    return 1;
  }
  Canvas canvas;
  backdrop(canvas);
  panel(canvas, cells(0, 0, 46, 35), 1);      // pattern view
  trackShading(canvas);
  panel(canvas, cells(48, 11, 83, 27), 1);    // instrument list
  panel(canvas, cells(48, 29, 91, 35), 1);    // instrument editor
  panel(canvas, cells(85, 11, 91, 28), 1);    // order list
  waveform(canvas);
  logo(canvas);
  standardBadge(canvas);
  writeBmp(canvas, argv[1]);
  return 0;
}
