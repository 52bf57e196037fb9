; Raw samples, one byte to the DAC on each VRC6 timer interrupt.

.segment "CODE"

; Expects: the timer interrupt (cycle mode). Leaves: the next sample byte
; written to $4011 (or, at an end byte, the sample stopped on $FF or back
; at its first byte on any other), the table half selected again at $C000;
; A, Y and the flags as found.
; The acknowledging write restarts the count, so a byte takes the count
; (192 cycles on PAL, 208 on NTSC) plus the time from the counter's wrap to
; that write. While the main loop waits (cmp a:nmi_count 4, beq 3) the
; interrupt is taken after the compare whenever the line rises within a
; 5-cycle window, and the handler's length (the pads below, counted modulo
; the loop's 7 cycles) puts the next wrap inside that window: a byte then
; takes 213 cycles on PAL, and 229 and 230 in turn on NTSC, 7800 bytes a
; second like the editor, and keeps doing so on a console that takes the
; interrupt a cycle earlier or two later.
irq:
  pha                           ; 3
  lda #IRQ_CYCLE_MODE_ON        ; 2
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
  lda irq_dither                ; 3
  eor is_ntsc                   ; 3
  sta irq_dither                ; 3
  beq @pads                     ; 2 or 3: one cycle more every other byte on NTSC
@pads:
  lda is_ntsc                   ; 3
  bne @ntsc                     ; 2 on PAL, 3 on NTSC
  nop                           ; 2
  bit irq_y                     ; 3
@ntsc:
  nop                           ; 2
  nop                           ; 2
  nop                           ; 2
  nop                           ; 2
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
