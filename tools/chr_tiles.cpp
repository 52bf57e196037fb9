// Draws the cartridge's 8 KB character ROM. Usage: chr_tiles OUT.chr
//
// Pattern table 0 (tiles 0..255), repeated as pattern table 1:
//   0           blank
//   1..48       the "QUILLCHANTER" logo: the font's letters at twice their
//               size with a shadow, 24 tiles across (1..24 top, 25..48 bottom)
//   49          a rule under the logo
//   194..255    the font: character c at tile (c - 94) mod 256, for space
//               to ']'; '[' is drawn as a bar and ']' as an underscore, the
//               shapes instrument names show for '|' and '_'
// Colours: the font uses colour 1, the logo 3 with a colour-2 shadow.
// The 5x7 glyphs are drawn here, in the style of the HD44780 LCD font.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace qc {

namespace {

constexpr int kTileBytes = 16;
constexpr int kTiles = 256;
constexpr int kLogoFirstTile = 1;
constexpr int kLogoWidth = 24;  // tiles
constexpr int kRuleTile = 49;
constexpr int kTileOffset = 94;
constexpr char kLogo[] = "QUILLCHANTER";

struct Glyph {
  char c;
  const char* rows;  // 7 rows of 5 pixels, '#' set, separated by spaces
};

constexpr Glyph kGlyphs[] = {
    {' ', "..... ..... ..... ..... ..... ..... ....."},
    {'!', "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#.."},
    {'"', ".#.#. .#.#. .#.#. ..... ..... ..... ....."},
    {'#', ".#.#. .#.#. ##### .#.#. ##### .#.#. .#.#."},
    {'$', "..#.. .#### #.#.. .###. ..#.# ####. ..#.."},
    {'%', "##... ##..# ...#. ..#.. .#... #..## ...##"},
    {'&', ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#"},
    {'\'', "..#.. ..#.. .#... ..... ..... ..... ....."},
    {'(', "...#. ..#.. .#... .#... .#... ..#.. ...#."},
    {')', ".#... ..#.. ...#. ...#. ...#. ..#.. .#..."},
    {'*', "..... ..#.. #.#.# .###. #.#.# ..#.. ....."},
    {'+', "..... ..#.. ..#.. ##### ..#.. ..#.. ....."},
    {',', "..... ..... ..... ..... .##.. ..#.. .#..."},
    {'-', "..... ..... ..... ##### ..... ..... ....."},
    {'.', "..... ..... ..... ..... ..... .##.. .##.."},
    {'/', "..... ....# ...#. ..#.. .#... #.... ....."},
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."},
    {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"},
    {'3', "##### ...#. ..#.. ...#. ....# #...# .###."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."},
    {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."},
    {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."},
    {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {':', "..... .##.. .##.. ..... .##.. .##.. ....."},
    {';', "..... .##.. .##.. ..... .##.. ..#.. .#..."},
    {'<', "...#. ..#.. .#... #.... .#... ..#.. ...#."},
    {'=', "..... ..... ##### ..... ##### ..... ....."},
    {'>', ".#... ..#.. ...#. ....# ...#. ..#.. .#..."},
    {'?', ".###. #...# ....# ...#. ..#.. ..... ..#.."},
    {'@', ".###. #...# ....# .##.# #.#.# #.#.# .###."},
    {'A', ".###. #...# #...# ##### #...# #...# #...#"},
    {'B', "####. #...# #...# ####. #...# #...# ####."},
    {'C', ".###. #...# #.... #.... #.... #...# .###."},
    {'D', "###.. #..#. #...# #...# #...# #..#. ###.."},
    {'E', "##### #.... #.... ####. #.... #.... #####"},
    {'F', "##### #.... #.... ####. #.... #.... #...."},
    {'G', ".###. #...# #.... #.### #...# #...# .####"},
    {'H', "#...# #...# #...# ##### #...# #...# #...#"},
    {'I', ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."},
    {'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    {'L', "#.... #.... #.... #.... #.... #.... #####"},
    {'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    {'N', "#...# #...# ##..# #.#.# #..## #...# #...#"},
    {'O', ".###. #...# #...# #...# #...# #...# .###."},
    {'P', "####. #...# #...# ####. #.... #.... #...."},
    {'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', "####. #...# #...# ####. #.#.. #..#. #...#"},
    {'S', ".#### #.... #.... .###. ....# ....# ####."},
    {'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'U', "#...# #...# #...# #...# #...# #...# .###."},
    {'V', "#...# #...# #...# #...# #...# .#.#. ..#.."},
    {'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    {'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"},
    {'Y', "#...# #...# #...# .#.#. ..#.. ..#.. ..#.."},
    {'Z', "##### ....# ...#. ..#.. .#... #.... #####"},
    {'[', "..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'\\', "..... #.... .#... ..#.. ...#. ....# ....."},
    {']', "..... ..... ..... ..... ..... ..... #####"},
};

const Glyph* findGlyph(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

// Pixel (x, y) of a glyph placed at column 1, row 0 of its 8x8 cell.
bool glyphPixel(const Glyph& g, int x, int y) {
  if (x < 1 || x > 5 || y < 0 || y > 6) return false;
  return g.rows[y * 6 + (x - 1)] == '#';
}

using Tiles = std::array<uint8_t, kTiles * kTileBytes>;

// Sets pixel (x, y) of tile t to a colour 0..3 (plane 0 is bit 0).
void setPixel(Tiles& tiles, int t, int x, int y, int colour) {
  uint8_t* tile = tiles.data() + t * kTileBytes;
  const uint8_t bit = uint8_t(0x80 >> x);
  tile[y] = uint8_t((tile[y] & ~bit) | ((colour & 1) ? bit : 0));
  tile[8 + y] = uint8_t((tile[8 + y] & ~bit) | ((colour & 2) ? bit : 0));
}

void drawFont(Tiles& tiles) {
  for (const Glyph& g : kGlyphs) {
    const int t = (uint8_t(g.c) - kTileOffset) & 0xFF;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if (glyphPixel(g, x, y)) setPixel(tiles, t, x, y, 1);
  }
}

// Pixel (x, y) of the logo, 192 x 16: each letter doubled, shadowed one
// pixel down and right.
int logoPixel(int x, int y) {
  const Glyph* g = findGlyph(kLogo[x / 16]);
  const int cx = x % 16, cy = y;
  const auto at = [&](int px, int py) { return px >= 0 && py >= 0 && glyphPixel(*g, px / 2, py / 2); };
  if (at(cx + 1, cy)) return 3;  // shift left one so the shadow fits the cell
  if (at(cx, cy - 1)) return 2;
  return 0;
}

void drawLogo(Tiles& tiles) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < kLogoWidth * 8; ++x) {
      const int t = kLogoFirstTile + (y / 8) * kLogoWidth + x / 8;
      setPixel(tiles, t, x % 8, y % 8, logoPixel(x, y));
    }
  for (int x = 0; x < 8; ++x) setPixel(tiles, kRuleTile, x, 3, 2);
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: chr_tiles OUT.chr\n");
    return 1;
  }
  static_assert(sizeof(kLogo) - 1 == kLogoWidth / 2);
  Tiles tiles{};
  drawFont(tiles);
  drawLogo(tiles);
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  bool ok = true;
  for (int table = 0; table < 2; ++table) ok = std::fwrite(tiles.data(), 1, tiles.size(), f) == tiles.size() && ok;
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
