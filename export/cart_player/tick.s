; The later ticks of a row: delayed notes, envelopes and running effects.

.segment "CODE"

; Expects: row_ptr at the current row. Leaves: every channel ticked. A, X, Y, temporaries.
tick_channels:
  ldx #0
@channel:
  jsr channel_tick
  inx
  cpx #4
  bne @channel
  rts

; Expects: X = channel. Leaves: the channel's tick done; nothing moves
; while it has no note. X kept.
channel_tick:
  lda ch_delay,x
  beq @sounding
  dec ch_delay,x
  bne @sounding
  jsr read_cell
  jsr trigger_note
@sounding:
  lda ch_note,x
  bne @run
  rts
@run:
  jsr step_envelopes
  lda ch_effect,x
  asl
  tay
  lda TICK_EFFECTS + 1,y
  pha
  lda TICK_EFFECTS,y
  pha
  rts                           ; to the effect, which ends in set_period

TICK_EFFECTS:
  .word tick_arpeggio - 1, porta_up - 1, porta_down - 1, tone_porta - 1
  .word vibrato - 1, slide_and_porta - 1, slide_and_vibrato - 1, tremolo - 1
  .word set_period - 1, set_period - 1, volume_slide - 1, set_period - 1
  .word set_period - 1, set_period - 1, set_period - 1, set_period - 1

tick_arpeggio:
  lda ch_param,x
  beq set_period
  jsr step_arpeggio
  jmp set_period

porta_up:
  lda #0
  sec
  sbc ch_porta,x
  tay
  lda #0
  sbc #0
  jsr add_offset
  jmp set_period

porta_down:
  ldy ch_porta,x
  lda #0
  jsr add_offset
  jmp set_period

slide_and_porta:
  jsr slide_volume
  ; fall through
tone_porta:
  jsr porta_step
  jmp set_period

slide_and_vibrato:
  jsr slide_volume
  ; fall through
vibrato:
  jsr vibrato_amplitude
  sta ch_offset_lo,x
  tya
  sta ch_offset_hi,x
  jmp set_period

tremolo:
  jsr vibrato_amplitude         ; a quarter of it, rounded toward zero
  lda tmp0
  lsr
  lsr
  cpy #0
  beq @store
  eor #$FF
  clc
  adc #1
@store:
  sta ch_tremolo,x
  jmp set_period

volume_slide:
  jsr slide_volume
  ; fall through

; Expects: X = channel. Leaves: period = the period table at the clamped
; note index. A, Y.
set_period:
  jsr clamped_index
  tay
  lda period_lo,y
  sta ch_period_lo,x
  lda period_hi,y
  sta ch_period_hi,x
  rts

; Expects: X = channel. Leaves: A = its note index clamped to 0..95.
clamped_index:
  lda ch_index_hi,x
  bmi @lowest
  bne @highest
  lda ch_index_lo,x
  cmp #96
  bcc @done
@highest:
  lda #95
  rts
@lowest:
  lda #0
@done:
  rts

; Expects: X = channel. Leaves: volume raised by the slide up (at most 15),
; then lowered by the slide down (at least 0). A.
slide_volume:
  jsr slide_volume_up
  ; fall through
slide_volume_down:
  lda ch_volume,x
  sec
  sbc ch_slidedown,x
  bcs @store
  lda #0
@store:
  sta ch_volume,x
  rts

slide_volume_up:
  lda ch_volume,x
  clc
  adc ch_slideup,x
  cmp #16
  bcc @store
  lda #15
@store:
  sta ch_volume,x
  rts

; Expects: X = channel. Leaves: the period offset moved toward 0 by the
; portamento speed, stopping at 0. A, Y.
porta_step:
  lda ch_offset_hi,x
  bmi @below
  ora ch_offset_lo,x
  beq @done
  sec                           ; above: subtract, stop at 0
  lda ch_offset_lo,x
  sbc ch_porta,x
  tay
  lda ch_offset_hi,x
  sbc #0
  bmi @zero
  sta ch_offset_hi,x
  tya
  sta ch_offset_lo,x
  rts
@below:
  clc
  lda ch_offset_lo,x
  adc ch_porta,x
  tay
  lda ch_offset_hi,x
  adc #0
  bpl @zero
  sta ch_offset_hi,x
  tya
  sta ch_offset_lo,x
  rts
@zero:
  lda #0
  sta ch_offset_lo,x
  sta ch_offset_hi,x
@done:
  rts

; Expects: X = channel. Leaves: A/Y = the signed 16-bit vibrato amplitude
; at the channel's position (low/high), tmp0 = its size, the position
; advanced by the speed.
vibrato_amplitude:
  ldy ch_vibpos,x
  lda VIBRATO_WAVE,y
  ora ch_vibdepth,x
  tay
  lda VIBRATO_TABLE,y
  sta tmp0
  lda ch_vibpos,x
  clc
  adc ch_vibspeed,x
  and #63
  ldy ch_vibpos,x
  sta ch_vibpos,x
  cpy #32
  bcs @negative
  lda tmp0
  ldy #0
  rts
@negative:
  ldy #0
  lda #0
  sec
  sbc tmp0
  beq @done
  ldy #$FF
@done:
  rts

; Expects: X = channel, A/Y = a signed 16-bit value (high/low). Leaves:
; it added to the period offset, held within -32768..32767. A, Y.
add_offset:
  sta tmp1
  tya
  clc
  adc ch_offset_lo,x
  tay
  lda tmp1
  adc ch_offset_hi,x
  bvc @store
  lda tmp1                      ; overflow takes the sign of the value added
  bmi @lowest
  ldy #$FF
  lda #$7F
  bne @store
@lowest:
  ldy #$00
  lda #$80
@store:
  sta ch_offset_hi,x
  tya
  sta ch_offset_lo,x
  rts

; Expects: X = channel, its note index fresh from the envelopes. Leaves:
; the index raised by the first digit on step 1, the second on step 2; the
; step counter advanced (1, 2, 3, then 1 again). A.
step_arpeggio:
  lda ch_arpstep,x
  cmp #1
  bne @second
  lda ch_param,x
  lsr
  lsr
  lsr
  lsr
  jmp @add
@second:
  cmp #2
  bne @third
  lda ch_param,x
  and #$0F
@add:
  clc
  adc ch_index_lo,x
  sta ch_index_lo,x
  bcc @advance
  inc ch_index_hi,x
  jmp @advance
@third:
  cmp #3
  bne @advance
  lda #0
  sta ch_arpstep,x
@advance:
  inc ch_arpstep,x
  rts
