// The effect commands of a cell: what each does when its row is read and on
// the later ticks of the row. A parameter byte P holds the first shown digit
// in its low nibble (x) and the second in its high nibble (y).
#pragma once

#include "playback/player_state.h"
#include "song/song.h"

namespace qc {

enum EffectCommand {
  kArpeggio = 0x0,
  kPortamentoUp = 0x1,
  kPortamentoDown = 0x2,
  kTonePortamento = 0x3,
  kVibrato = 0x4,
  kTonePortamentoVolumeSlide = 0x5,
  kVibratoVolumeSlide = 0x6,
  kTremolo = 0x7,
  kVolumeSlide = 0xA,
  kOrderJump = 0xB,
  kVolumeDuty = 0xC,
  kPatternBreak = 0xD,
  kExtended = 0xE,
  kSpeedTempo = 0xF,
};

inline constexpr int kSpeedLimit = 0x20;  // F below this sets the speed, else the tempo

inline int firstDigit(uint8_t param) { return param & 0x0F; }
inline int secondDigit(uint8_t param) { return param >> 4; }

// Row-start column of the cell's own effect; returns the duty that effect C
// asks for, or -1.
int applyRowStartEffect(Player& player, int channel, const Cell& cell);
// Later-ticks column of the channel's running effect.
void applyTickEffect(Player& player, int channel);

}  // namespace qc
