// Writes the program's 32x32 icon as PNG files at 32, 64, 128 and 256 pixels,
// each pixel repeated (nearest neighbour), so the pixel art stays sharp:
// make_icons OUTDIR writes OUTDIR/quillchanter-N.png.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/icon_art.h"

namespace qc {

namespace {

constexpr int kScales[] = {1, 2, 4, 8};

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  putBigEndian(png, uint32_t(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  putBigEndian(png, crc32(body.data(), body.size()));
}

// A zlib stream of stored (uncompressed) blocks: no library needed.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
  constexpr size_t kBlock = 65535;
  std::vector<uint8_t> out{0x78, 0x01};
  for (size_t at = 0; at == 0 || at < raw.size(); at += kBlock) {
    const size_t size = std::min(kBlock, raw.size() - at);
    out.push_back(at + size >= raw.size() ? 1 : 0);
    out.push_back(uint8_t(size));
    out.push_back(uint8_t(size >> 8));
    out.push_back(uint8_t(~size));
    out.push_back(uint8_t(~size >> 8));
    out.insert(out.end(), raw.begin() + long(at), raw.begin() + long(at + size));
  }
  putBigEndian(out, adler32(raw));
  return out;
}

std::vector<uint8_t> iconPng(int scale) {
  const uint32_t side = uint32_t(kIconSize * scale);
  std::vector<uint8_t> raw;
  for (uint32_t y = 0; y < side; ++y) {
    raw.push_back(0);  // filter: none
    for (uint32_t x = 0; x < side; ++x) {
      const IconPixel p = iconPixel(int(x) / scale, int(y) / scale);
      raw.insert(raw.end(), {p.r, p.g, p.b, uint8_t(p.opaque ? 255 : 0)});
    }
  }
  std::vector<uint8_t> header;
  putBigEndian(header, side);
  putBigEndian(header, side);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", zlibStored(raw));
  putChunk(png, "IEND", {});
  return png;
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons OUTDIR\n");
    return 1;
  }
  for (int scale : kScales) {
    const std::string path = std::string(argv[1]) + "/quillchanter-" + std::to_string(kIconSize * scale) + ".png";
    const std::vector<uint8_t> png = iconPng(scale);
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (file && std::fclose(file) != 0) return 1;
    if (!written) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
