#include "app/icon_art.h"

namespace qc {

namespace {

// '.' is transparent.
constexpr const char* kArt[kIconSize] = {
    "................................",
    "....########################....",
    "..##nnnnnnnnnnnnnnnnnnnnnnnn##..",
    "..#nnnnnnnnnnnnnnnnnnnnnnnnnn#..",
    ".#nnnnnnnnnnnggggggnnnnnnnnnnn#.",
    ".#nnnnnnnnnggggggggggnnnnnnnnn#.",
    ".#nnnnnnnnggggggggggggnnnnnnnn#.",
    ".#nnnnnnnggggggggggggggnnnnnnn#.",
    ".#nnnnnngggggnnnnnngggggnnnnnn#.",
    ".#nnnnnnggggnnnnnnnnggggnnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnnoooonnnnnnnnoooonnnnnn#.",
    ".#nnnnnnooooonnnnnoooooonnnnnn#.",
    ".#nnnnnnnoooooooooooooonnnnnnn#.",
    ".#nnnnnnnnoooooooooooonnnnnnnn#.",
    ".#nnnnnnnnnoooooooooooonnnnnnn#.",
    ".#nnnnnnnnnnnoooooonnooonnnnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnooonnnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnnooonnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnnnooonnn#.",
    ".#nnnwwwwnnnnwwwwnnnnwwwwnnnnn#.",
    ".#nnnwnnwnnnnwnnwnnnnwnnwnnnnn#.",
    ".#nnnwnnwnnnnwnnwnnnnwnnwnnnnn#.",
    "..#nnwnnwwwwwwnnwwwwwwnnwwwnn#..",
    "..##nnnnnnnnnnnnnnnnnnnnnnnn##..",
    "....########################....",
    "................................",
};

}  // namespace

IconPixel iconPixel(int x, int y) {
  switch (kArt[y][x]) {
    case '#': return {70, 80, 116, true};
    case 'n': return {22, 26, 40, true};
    case 'g': return {255, 214, 130, true};
    case 'o': return {236, 128, 64, true};
    case 'w': return {150, 230, 170, true};
    default: return {0, 0, 0, false};
  }
}

}  // namespace qc
