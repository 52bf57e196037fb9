#include "console/ppu_stub.h"

namespace qc {

namespace {
// Vertical blank: 70 scanlines of 341 dots on PAL (3.2 dots a cycle), 20 on NTSC (3).
constexpr uint64_t kPalVblankCycles = 7459;
constexpr uint64_t kNtscVblankCycles = 2273;
}  // namespace

PpuStub::PpuStub(bool pal)
    : halfCyclesPerFrame_(pal ? 66495 : 59561), vblankCycles_(pal ? kPalVblankCycles : kNtscVblankCycles) {}

bool PpuStub::advance(uint64_t cycle) {
  bool nmi = false;
  while (vblankStart(frames_ + 1) <= cycle) {
    ++frames_;
    vblank_ = true;
    nmi |= nmiEnabled();
  }
  if (frames_ > 0 && cycle >= vblankStart(frames_) + vblankCycles_) vblank_ = false;
  return nmi;
}

uint8_t PpuStub::read(uint16_t address) {
  if ((address & 7) != 2) return 0;
  const uint8_t status = vblank_ ? 0x80 : 0x00;
  vblank_ = false;
  secondWrite_ = false;
  return status;
}

bool PpuStub::write(uint16_t address, uint8_t value) {
  switch (address & 7) {
    case 0: {
      const bool wasEnabled = nmiEnabled();
      control_ = value;
      return !wasEnabled && nmiEnabled() && vblank_;
    }
    case 1:
      mask_ = value;
      break;
    case 5:
      secondWrite_ = !secondWrite_;
      break;
    case 6:
      address_ = secondWrite_ ? uint16_t((address_ & 0xFF00) | value) : uint16_t((value & 0x3F) << 8 | (address_ & 0xFF));
      secondWrite_ = !secondWrite_;
      break;
    case 7:
      vram[address_ & 0x3FFF] = value;
      address_ = uint16_t(address_ + ((control_ & 0x04) ? 32 : 1));
      break;
    default:
      break;
  }
  return false;
}

}  // namespace qc
