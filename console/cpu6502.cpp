#include "console/cpu6502.h"

namespace qc {

namespace {

enum Mode : uint8_t { Imp, Acc, Imm, Zp, ZpX, ZpY, Abs, AbsX, AbsY, Ind, IndX, IndY, Rel };

enum Op : uint8_t {
  ADC, AND, ASL, BCC, BCS, BEQ, BIT, BMI, BNE, BPL, BRK, BVC, BVS, CLC, CLD, CLI, CLV, CMP,
  CPX, CPY, DEC, DEX, DEY, EOR, INC, INX, INY, JMP, JSR, LDA, LDX, LDY, LSR, NOP, ORA, PHA, PHP,
  PLA, PLP, ROL, ROR, RTI, RTS, SBC, SEC, SED, SEI, STA, STX, STY, TAX, TAY, TSX, TXA, TXS, TYA
};

// The 151 documented opcodes: code, operation, addressing mode, cycles
// without page-crossing and branch penalties.
#define QC_DOCUMENTED_OPCODES(X) \
  X(0x69, ADC, Imm, 2) X(0x65, ADC, Zp, 3) X(0x75, ADC, ZpX, 4) X(0x6D, ADC, Abs, 4) \
  X(0x7D, ADC, AbsX, 4) X(0x79, ADC, AbsY, 4) X(0x61, ADC, IndX, 6) X(0x71, ADC, IndY, 5) \
  X(0x29, AND, Imm, 2) X(0x25, AND, Zp, 3) X(0x35, AND, ZpX, 4) X(0x2D, AND, Abs, 4) \
  X(0x3D, AND, AbsX, 4) X(0x39, AND, AbsY, 4) X(0x21, AND, IndX, 6) X(0x31, AND, IndY, 5) \
  X(0x0A, ASL, Acc, 2) X(0x06, ASL, Zp, 5) X(0x16, ASL, ZpX, 6) X(0x0E, ASL, Abs, 6) \
  X(0x1E, ASL, AbsX, 7) X(0x90, BCC, Rel, 2) X(0xB0, BCS, Rel, 2) X(0xF0, BEQ, Rel, 2) \
  X(0x30, BMI, Rel, 2) X(0xD0, BNE, Rel, 2) X(0x10, BPL, Rel, 2) X(0x50, BVC, Rel, 2) \
  X(0x70, BVS, Rel, 2) X(0x24, BIT, Zp, 3) X(0x2C, BIT, Abs, 4) X(0x00, BRK, Imp, 7) \
  X(0x18, CLC, Imp, 2) X(0xD8, CLD, Imp, 2) X(0x58, CLI, Imp, 2) X(0xB8, CLV, Imp, 2) \
  X(0xC9, CMP, Imm, 2) X(0xC5, CMP, Zp, 3) X(0xD5, CMP, ZpX, 4) X(0xCD, CMP, Abs, 4) \
  X(0xDD, CMP, AbsX, 4) X(0xD9, CMP, AbsY, 4) X(0xC1, CMP, IndX, 6) X(0xD1, CMP, IndY, 5) \
  X(0xE0, CPX, Imm, 2) X(0xE4, CPX, Zp, 3) X(0xEC, CPX, Abs, 4) X(0xC0, CPY, Imm, 2) \
  X(0xC4, CPY, Zp, 3) X(0xCC, CPY, Abs, 4) X(0xC6, DEC, Zp, 5) X(0xD6, DEC, ZpX, 6) \
  X(0xCE, DEC, Abs, 6) X(0xDE, DEC, AbsX, 7) X(0xCA, DEX, Imp, 2) X(0x88, DEY, Imp, 2) \
  X(0x49, EOR, Imm, 2) X(0x45, EOR, Zp, 3) X(0x55, EOR, ZpX, 4) X(0x4D, EOR, Abs, 4) \
  X(0x5D, EOR, AbsX, 4) X(0x59, EOR, AbsY, 4) X(0x41, EOR, IndX, 6) X(0x51, EOR, IndY, 5) \
  X(0xE6, INC, Zp, 5) X(0xF6, INC, ZpX, 6) X(0xEE, INC, Abs, 6) X(0xFE, INC, AbsX, 7) \
  X(0xE8, INX, Imp, 2) X(0xC8, INY, Imp, 2) X(0x4C, JMP, Abs, 3) X(0x6C, JMP, Ind, 5) \
  X(0x20, JSR, Abs, 6) X(0xA9, LDA, Imm, 2) X(0xA5, LDA, Zp, 3) X(0xB5, LDA, ZpX, 4) \
  X(0xAD, LDA, Abs, 4) X(0xBD, LDA, AbsX, 4) X(0xB9, LDA, AbsY, 4) X(0xA1, LDA, IndX, 6) \
  X(0xB1, LDA, IndY, 5) X(0xA2, LDX, Imm, 2) X(0xA6, LDX, Zp, 3) X(0xB6, LDX, ZpY, 4) \
  X(0xAE, LDX, Abs, 4) X(0xBE, LDX, AbsY, 4) X(0xA0, LDY, Imm, 2) X(0xA4, LDY, Zp, 3) \
  X(0xB4, LDY, ZpX, 4) X(0xAC, LDY, Abs, 4) X(0xBC, LDY, AbsX, 4) X(0x4A, LSR, Acc, 2) \
  X(0x46, LSR, Zp, 5) X(0x56, LSR, ZpX, 6) X(0x4E, LSR, Abs, 6) X(0x5E, LSR, AbsX, 7) \
  X(0xEA, NOP, Imp, 2) X(0x09, ORA, Imm, 2) X(0x05, ORA, Zp, 3) X(0x15, ORA, ZpX, 4) \
  X(0x0D, ORA, Abs, 4) X(0x1D, ORA, AbsX, 4) X(0x19, ORA, AbsY, 4) X(0x01, ORA, IndX, 6) \
  X(0x11, ORA, IndY, 5) X(0x48, PHA, Imp, 3) X(0x08, PHP, Imp, 3) X(0x68, PLA, Imp, 4) \
  X(0x28, PLP, Imp, 4) X(0x2A, ROL, Acc, 2) X(0x26, ROL, Zp, 5) X(0x36, ROL, ZpX, 6) \
  X(0x2E, ROL, Abs, 6) X(0x3E, ROL, AbsX, 7) X(0x6A, ROR, Acc, 2) X(0x66, ROR, Zp, 5) \
  X(0x76, ROR, ZpX, 6) X(0x6E, ROR, Abs, 6) X(0x7E, ROR, AbsX, 7) X(0x40, RTI, Imp, 6) \
  X(0x60, RTS, Imp, 6) X(0xE9, SBC, Imm, 2) X(0xE5, SBC, Zp, 3) X(0xF5, SBC, ZpX, 4) \
  X(0xED, SBC, Abs, 4) X(0xFD, SBC, AbsX, 4) X(0xF9, SBC, AbsY, 4) X(0xE1, SBC, IndX, 6) \
  X(0xF1, SBC, IndY, 5) X(0x38, SEC, Imp, 2) X(0xF8, SED, Imp, 2) X(0x78, SEI, Imp, 2) \
  X(0x85, STA, Zp, 3) X(0x95, STA, ZpX, 4) X(0x8D, STA, Abs, 4) X(0x9D, STA, AbsX, 5) \
  X(0x99, STA, AbsY, 5) X(0x81, STA, IndX, 6) X(0x91, STA, IndY, 6) X(0x86, STX, Zp, 3) \
  X(0x96, STX, ZpY, 4) X(0x8E, STX, Abs, 4) X(0x84, STY, Zp, 3) X(0x94, STY, ZpX, 4) \
  X(0x8C, STY, Abs, 4) X(0xAA, TAX, Imp, 2) X(0xA8, TAY, Imp, 2) X(0xBA, TSX, Imp, 2) \
  X(0x8A, TXA, Imp, 2) X(0x9A, TXS, Imp, 2) X(0x98, TYA, Imp, 2) \

// Instructions whose indexed operand read costs a cycle more across a page.
bool paysPageCrossing(Op op) {
  switch (op) {
    case ADC: case AND: case CMP: case EOR: case LDA: case LDX: case LDY: case ORA: case SBC:
      return true;
    default:
      return false;
  }
}

bool crossesPage(uint16_t from, uint16_t to) { return (from & 0xFF00) != (to & 0xFF00); }

constexpr int kJamCycles = 2;

}  // namespace

void Cpu6502::mapPage(uint8_t page, uint8_t* memory) {
  readPages_[page] = memory;
  writePages_[page] = memory;
}

void Cpu6502::mapReadPage(uint8_t page, const uint8_t* memory) {
  readPages_[page] = memory;
  writePages_[page] = nullptr;
}

void Cpu6502::unmapPage(uint8_t page) {
  readPages_[page] = nullptr;
  writePages_[page] = nullptr;
}

uint16_t Cpu6502::read16(uint16_t address) {
  return uint16_t(read(address) | read(uint16_t(address + 1)) << 8);
}

uint16_t Cpu6502::read16ZeroPage(uint8_t address) {
  return uint16_t(read(address) | read(uint8_t(address + 1)) << 8);
}

void Cpu6502::push(uint8_t value) { write(uint16_t(0x100 | s--), value); }

uint8_t Cpu6502::pull() { return read(uint16_t(0x100 | ++s)); }

void Cpu6502::setNZ(uint8_t value) {
  p = uint8_t((p & ~(N | Z)) | (value & N) | (value == 0 ? Z : 0));
}

void Cpu6502::interrupt(uint16_t vector, bool brk) {
  push(uint8_t(pc >> 8));
  push(uint8_t(pc));
  push(uint8_t(p | U | (brk ? B : 0)));
  p |= I;
  pc = read16(vector);
}

void Cpu6502::branch(bool taken) {
  int8_t offset = int8_t(read(pc++));
  if (!taken) return;
  uint16_t target = uint16_t(pc + offset);
  shortPoll_ = !crossesPage(pc, target);
  extra_ += shortPoll_ ? 1 : 2;
  pc = target;
}

void Cpu6502::compare(uint8_t reg, uint8_t value) {
  p = uint8_t((p & ~C) | (reg >= value ? C : 0));
  setNZ(uint8_t(reg - value));
}

void Cpu6502::adc(uint8_t value) {
  unsigned sum = a + value + (p & C);
  uint8_t result = uint8_t(sum);
  p = uint8_t(p & ~(C | V));
  if (sum > 0xFF) p |= C;
  if (~(a ^ value) & (a ^ result) & 0x80) p |= V;
  a = result;
  setNZ(a);
}

void Cpu6502::call(uint16_t routine, uint16_t returnAddress) {
  uint16_t pushed = uint16_t(returnAddress - 1);  // RTS adds one
  push(uint8_t(pushed >> 8));
  push(uint8_t(pushed));
  pc = routine;
}

// Runs the instruction at pc, whose opcode is `op` in `mode`.
[[gnu::always_inline]] inline int Cpu6502::execute(int operation, int addressing, int baseCycles) {
  const Op op = Op(operation);
  const Mode mode = Mode(addressing);
  pc++;
  extra_ = 0;
  shortPoll_ = false;
  const uint8_t maskBefore = p & I;
  accessCycle_ = cycles + uint64_t(baseCycles) - 1;

  uint16_t address = 0;
  switch (mode) {
    case Imp: case Acc: case Rel: break;
    case Imm: address = pc++; break;
    case Zp: address = read(pc++); break;
    case ZpX: address = uint8_t(read(pc++) + x); break;
    case ZpY: address = uint8_t(read(pc++) + y); break;
    case Abs: address = read16(pc); pc += 2; break;
    case AbsX: case AbsY: {
      uint16_t base = read16(pc);
      pc += 2;
      address = uint16_t(base + (mode == AbsX ? x : y));
      if (paysPageCrossing(op) && crossesPage(base, address)) extra_++;
      break;
    }
    case Ind: {
      uint16_t pointer = read16(pc);
      pc += 2;
      // The 6502 fetches the high byte without carrying into the pointer's page.
      address = uint16_t(read(pointer) | read(uint16_t((pointer & 0xFF00) | uint8_t(pointer + 1))) << 8);
      break;
    }
    case IndX: address = read16ZeroPage(uint8_t(read(pc++) + x)); break;
    case IndY: {
      uint16_t base = read16ZeroPage(read(pc++));
      address = uint16_t(base + y);
      if (paysPageCrossing(op) && crossesPage(base, address)) extra_++;
      break;
    }
  }

  auto modify = [&](auto&& f) {
    if (mode == Acc) {
      a = f(a);
    } else {
      uint8_t v = f(read(address));
      write(address, v);
    }
  };
  auto shiftLeft = [&](uint8_t v, uint8_t in) {
    p = uint8_t((p & ~C) | (v >> 7));
    uint8_t r = uint8_t(v << 1 | in);
    setNZ(r);
    return r;
  };
  auto shiftRight = [&](uint8_t v, uint8_t in) {
    p = uint8_t((p & ~C) | (v & 1));
    uint8_t r = uint8_t(v >> 1 | in << 7);
    setNZ(r);
    return r;
  };

  switch (op) {
    case ADC: adc(read(address)); break;
    case SBC: adc(uint8_t(~read(address))); break;
    case AND: a &= read(address); setNZ(a); break;
    case ORA: a |= read(address); setNZ(a); break;
    case EOR: a ^= read(address); setNZ(a); break;
    case ASL: modify([&](uint8_t v) { return shiftLeft(v, 0); }); break;
    case ROL: modify([&](uint8_t v) { return shiftLeft(v, p & C); }); break;
    case LSR: modify([&](uint8_t v) { return shiftRight(v, 0); }); break;
    case ROR: modify([&](uint8_t v) { return shiftRight(v, p & C); }); break;
    case INC: modify([&](uint8_t v) { setNZ(++v); return v; }); break;
    case DEC: modify([&](uint8_t v) { setNZ(--v); return v; }); break;
    case BCC: branch(!(p & C)); break;
    case BCS: branch(p & C); break;
    case BNE: branch(!(p & Z)); break;
    case BEQ: branch(p & Z); break;
    case BPL: branch(!(p & N)); break;
    case BMI: branch(p & N); break;
    case BVC: branch(!(p & V)); break;
    case BVS: branch(p & V); break;
    case BIT: {
      uint8_t v = read(address);
      p = uint8_t((p & ~(N | V | Z)) | (v & (N | V)) | ((a & v) == 0 ? Z : 0));
      break;
    }
    case BRK: pc++; interrupt(0xFFFE, true); break;
    case CLC: p &= uint8_t(~C); break;
    case CLD: p &= uint8_t(~D); break;
    case CLI: p &= uint8_t(~I); break;
    case CLV: p &= uint8_t(~V); break;
    case SEC: p |= C; break;
    case SED: p |= D; break;
    case SEI: p |= I; break;
    case CMP: compare(a, read(address)); break;
    case CPX: compare(x, read(address)); break;
    case CPY: compare(y, read(address)); break;
    case DEX: setNZ(--x); break;
    case DEY: setNZ(--y); break;
    case INX: setNZ(++x); break;
    case INY: setNZ(++y); break;
    case JMP: pc = address; break;
    case JSR: {
      uint16_t last = uint16_t(pc - 1);
      push(uint8_t(last >> 8));
      push(uint8_t(last));
      pc = address;
      break;
    }
    case RTS: pc = uint16_t(pull() | pull() << 8); pc++; break;
    case RTI: p = uint8_t((pull() & ~B) | U); pc = uint16_t(pull() | pull() << 8); break;
    case LDA: a = read(address); setNZ(a); break;
    case LDX: x = read(address); setNZ(x); break;
    case LDY: y = read(address); setNZ(y); break;
    case STA: write(address, a); break;
    case STX: write(address, x); break;
    case STY: write(address, y); break;
    case NOP: break;
    case PHA: push(a); break;
    case PHP: push(uint8_t(p | B | U)); break;
    case PLA: a = pull(); setNZ(a); break;
    case PLP: p = uint8_t((pull() & ~B) | U); break;
    case TAX: x = a; setNZ(x); break;
    case TAY: y = a; setNZ(y); break;
    case TSX: x = s; setNZ(x); break;
    case TXA: a = x; setNZ(a); break;
    case TXS: s = x; break;
    case TYA: a = y; setNZ(a); break;
  }
  int n = baseCycles + extra_;
  pollCycle_ = cycles + uint64_t(n - (shortPoll_ ? 3 : 2));
  maskedAtPoll_ = (op == CLI || op == SEI || op == PLP) ? maskBefore : (p & I);
  cycles += uint64_t(n);
  return n;
}

int Cpu6502::step() {
  if (nmiPending || (irqLine && !maskedAtPoll_)) {
    accessCycle_ = cycles + 6;
    interrupt(nmiPending ? 0xFFFA : 0xFFFE, false);
    nmiPending = false;
    pollCycle_ = accessCycle_ - 1;
    maskedAtPoll_ = true;
    cycles += 7;
    return 7;
  }
  if (jam) {
    cycles += kJamCycles;
    return kJamCycles;
  }
  // One case per opcode: with its operation and mode constant, the
  // compiler turns each into straight code.
  switch (read(pc)) {
#define QC_CASE(code, op, mode, baseCycles) \
  case code:                                \
    return execute(op, mode, baseCycles);
    QC_DOCUMENTED_OPCODES(QC_CASE)
#undef QC_CASE
    default:
      jam = pc;
      return step();
  }
}

}  // namespace qc
