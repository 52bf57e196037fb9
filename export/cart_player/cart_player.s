; The cartridge player: plays the song that the exporter lays out in PRG ROM,
; as the editor's player does, on a VRC6 cartridge. Entry points are the
; three vectors at the end.

.include "hardware.inc"
.include "song_tables.inc"
.include "ram.inc"
.include "cart_tables.inc"

.include "reset.s"
.include "screen.s"
.include "sequencer.s"
.include "row_start.s"
.include "tick.s"
.include "envelopes.s"
.include "registers.s"
.include "samples.s"

.segment "VECTORS"
  .word nmi, reset, irq
