; Instrument envelopes: Volume, Note and Duty/Mode, one value a frame.

.segment "CODE"

; Expects: X = channel. Leaves: ptr1 = its instrument's record (instrument
; 0, which the table half does not hold, gets the program-start one). A, Y.
instrument_record:
  lda ch_instr,x
  bne @stored
  lda #<DEFAULT_RECORD
  sta ptr1
  lda #>DEFAULT_RECORD
  sta ptr1 + 1
  rts
@stored:
  asl                           ; the table starts at instrument 1
  tay
  dey
  dey
  lda (tbl_instruments),y
  sta ptr1
  iny
  lda (tbl_instruments),y
  sta ptr1 + 1
  rts

; Expects: X = channel. Leaves: the three envelope values taken and their
; positions advanced (back to the loop after the last value), the note
; index recomputed from them. A, Y, tmp0, tmp1, tmp3, ptr1.
step_envelopes:
  jsr instrument_record
  stx tmp3                      ; ch_envpos index: 4 x kind + channel
  lda #0
  sta env_kind
@kind:
  ldy tmp3
  lda ch_envpos,y
  tay
  lda (ptr1),y
  pha
  iny
  lda (ptr1),y
  cmp #ENVELOPE_END
  bne @position
  tya                           ; the end byte's position plus the relative loop
  iny
  clc
  adc (ptr1),y
  tay
@position:
  tya
  ldy tmp3
  sta ch_envpos,y
  ldy env_kind
  pla
  sta env_values,y
  lda ptr1
  clc
  adc #ENVELOPE_BYTES
  sta ptr1
  bcc @next
  inc ptr1 + 1
@next:
  lda tmp3
  clc
  adc #4
  sta tmp3
  inc env_kind
  lda env_kind
  cmp #3
  bne @kind

  lda env_values
  sta ch_envvol,x
  lda env_values + 2
  sta ch_envduty,x
  lda env_values + 1
  sta ch_envnote,x
  bpl @relative
  and #$7F                      ; a fixed note
  sta ch_index_lo,x
  lda #0
  sta ch_index_hi,x
  rts
@relative:                      ; note + value - 64
  clc
  adc ch_note,x
  sta tmp0
  lda #0
  adc #0
  sta tmp1
  lda tmp0
  sec
  sbc #64
  sta ch_index_lo,x
  lda tmp1
  sbc #0
  sta ch_index_hi,x
  rts

; Expects: X = channel. Leaves: each envelope position past its envelope's
; last value put on that value. A, Y, tmp2, tmp3, ptr1.
clamp_envelopes:
  jsr instrument_record
  stx tmp3
@kind:
  ldy #0
@scan:
  lda (ptr1),y
  cmp #ENVELOPE_END
  beq @found
  iny
  bne @scan
@found:
  sty tmp2                      ; the length
  ldy tmp3
  lda ch_envpos,y
  cmp tmp2
  bcc @next
  lda tmp2
  sec
  sbc #1
  sta ch_envpos,y
@next:
  lda ptr1
  clc
  adc #ENVELOPE_BYTES
  sta ptr1
  bcc @advance
  inc ptr1 + 1
@advance:
  lda tmp3
  clc
  adc #4
  sta tmp3
  cmp #12
  bcc @kind
  rts

.segment "RODATA"
; Instrument 0 as a freshly started program holds it: volume 0, note 64, duty 0.
DEFAULT_RECORD:
  .byte 0, ENVELOPE_END, $FF
  .res ENVELOPE_BYTES - 3, 0
  .byte 64, ENVELOPE_END, $FF
  .res ENVELOPE_BYTES - 3, 0
  .byte 0, ENVELOPE_END, $FF
  .res ENVELOPE_BYTES - 3, 0
