// Just enough of the NES picture unit for a program that waits for frames
// and writes the name tables: the vertical-blank flag in $2002 (cleared by
// reading it), the NMI at the start of each vertical blank while $2000 bit 7
// is set, and writes through $2006/$2007 stored in a 16 KB video memory.
// Nothing is drawn.
//
// A frame lasts 33247.5 CPU cycles on PAL and 29780.5 on NTSC; vertical
// blank k (k = 1, 2, ...) starts at cycle floor(k x frame).
#pragma once

#include <array>
#include <cstdint>

namespace qc {

class PpuStub {
 public:
  explicit PpuStub(bool pal);

  // Moves the clock to `cycle`; true when a vertical blank began on the
  // way with the NMI enabled.
  bool advance(uint64_t cycle);
  // $2000-$2007 (mirrors folded by the caller); true from a $2000 write
  // that enables the NMI inside a vertical blank, which fires it at once.
  uint8_t read(uint16_t address);
  bool write(uint16_t address, uint8_t value);

  // Vertical blanks begun so far, and the cycle the next one begins on.
  uint64_t frames() const { return frames_; }
  uint64_t nextVblank() const { return vblankStart(frames_ + 1); }
  // A frame's length rounded up: 33248 on PAL, 29781 on NTSC.
  uint64_t cyclesPerFrame() const { return (halfCyclesPerFrame_ + 1) / 2; }
  bool nmiEnabled() const { return (control_ & 0x80) != 0; }
  uint8_t mask() const { return mask_; }
  // Video memory as written, $0000-$3FFF, without mirroring.
  std::array<uint8_t, 0x4000> vram{};

 private:
  uint64_t vblankStart(uint64_t k) const { return k * halfCyclesPerFrame_ / 2; }

  uint64_t halfCyclesPerFrame_;
  uint64_t vblankCycles_;
  uint64_t frames_ = 0;
  bool vblank_ = false;
  uint8_t control_ = 0;
  uint8_t mask_ = 0;
  uint16_t address_ = 0;
  bool secondWrite_ = false;  // the $2005/$2006 latch
};

}  // namespace qc
