; Raw samples, one byte to the DAC on each VRC6 timer interrupt.

.segment "CODE"

; Expects: the timer interrupt (cycle mode). Leaves: the next sample byte
; written to $4011 (or, at an end byte, the sample stopped on $FF or back
; at its first byte on any other), the table half selected again at $C000;
; A, Y and the flags as found.
; The acknowledging write restarts the count on the handler's 11th cycle,
; so one byte takes (256 - reload) + 7 (interrupt entry) + 11 cycles plus
; the rest of the interrupted instruction: 212 + 0..6 on PAL (reload $3E),
; 228 + 0..6 on NTSC ($2E), about 7800 bytes a second like the editor.
irq:
  pha                           ; 3
  lda #IRQ_CYCLE_MODE_ON        ; 2
  nop                           ; 2
  sta VRC6_IRQ_CONTROL          ; 4
  lda smp_on
  beq @idle
  sty irq_y
  lda smp_bank
  sta VRC6_PRG8
  ldy #0
  lda (smp_ptr),y
  bmi @end
  sta APU_DAC
  inc smp_ptr
  bne @restore
  inc smp_ptr + 1
  lda smp_ptr + 1
  cmp #$E0
  bne @restore
  lda #$C0                      ; on at the start of the next 8 KB bank
  sta smp_ptr + 1
  inc smp_bank
@restore:
  lda #TABLE_BANK
  sta VRC6_PRG8
  ldy irq_y
  pla
  rti
@end:
  cmp #$FF
  bne @loop
  lda #0
  sta smp_on
  beq @restore
@loop:
  lda smp_start
  sta smp_ptr
  lda smp_start + 1
  sta smp_ptr + 1
  lda smp_start_bank
  sta smp_bank
  jmp @restore
@idle:
  inc irq_seen
  pla
  rti

; Expects: A = sample number 1..255, the table half at $C000. Leaves: that
; sample's stream started from its first byte, or the stream stopped when
; the sample table has no such entry. A, Y, tmp0, tmp1, ptr0; the
; interrupt flag as found.
start_sample:
  sec
  sbc #1
  sta tmp0                      ; entry = table + 3 x (n - 1)
  lda #0
  sta tmp1
  lda tmp0
  asl
  rol tmp1
  clc
  adc tmp0
  bcc @add_table
  inc tmp1
  clc
@add_table:
  adc tbl_samples
  sta ptr0
  lda tmp1
  adc tbl_samples + 1
  sta ptr0 + 1
  lda ptr0                      ; the records follow the last entry
  cmp first_record
  lda ptr0 + 1
  sbc first_record + 1
  bcs @none
  php
  sei
  ldy #0
  lda (ptr0),y
  sta smp_ptr
  sta smp_start
  iny
  lda (ptr0),y
  sta smp_ptr + 1
  sta smp_start + 1
  iny
  lda (ptr0),y
  sta smp_bank
  sta smp_start_bank
  lda #1
  sta smp_on
  plp
  rts
@none:
  lda #0
  sta smp_on
  rts
