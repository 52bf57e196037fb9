; The frame's register output, write for write as the editor's player
; makes it: triangle on/off, pulse volumes, periods of pulse 1, pulse 2 and
; triangle, then the noise.

.segment "CODE"

; Expects: the channels' state for this frame. Leaves: the APU registers
; written, each channel's last period remembered. A, X, Y, tmp0, tmp1.
write_registers:
  ldx #3
@volume:                        ; V = clamp(volume + tremolo) x envelope / 15
  lda ch_volume,x
  clc
  adc ch_tremolo,x
  bpl @not_negative
  lda #0
@not_negative:
  cmp #16
  bcc @in_range
  lda #15
@in_range:
  asl
  asl
  asl
  asl
  ora ch_envvol,x
  tay
  lda VOLUME_TABLE,y
  sta out_volume,x
  dex
  bpl @volume

  lda out_volume + 2
  cmp #8
  bcc @triangle_off
  lda #$FF                      ; rewrite $400B every frame: restarts the linear counter
  sta ch_last_lo + 2
  sta ch_last_hi + 2
  sta APU_TRIANGLE
  bne @pulses
@triangle_off:
  lda #0
  sta APU_TRIANGLE
@pulses:
  ldx #0
  jsr write_pulse_volume
  ldx #1
  jsr write_pulse_volume

  ldx #0
  jsr output_period
  jsr write_pulse_period
  ldx #1
  jsr output_period
  jsr write_pulse_period
  ldx #2
  jsr output_period
  lda tmp0
  sta APU_TRI_LOW
  lda tmp1
  cmp ch_last_hi + 2
  beq @triangle_same
  sta APU_TRI_HIGH
@triangle_same:
  sta ch_last_hi + 2
  lda tmp0
  sta ch_last_lo + 2

  lda out_volume + 3
  ora #$30
  sta APU_NOISE
  lda ch_envduty + 3            ; mode in bit 7
  lsr
  lda #0
  ror
  sta tmp0
  lda #15                       ; a higher note, a shorter period
  sec
  sbc ch_index_lo + 3
  and #$0F
  ora tmp0
  sta APU_NOISE_PERIOD
  lda #0
  sta APU_NOISE_LENGTH
  rts

; Expects: X = pulse channel, out_volume. Leaves: its duty/volume register
; written, constant volume with the length counter halted. A, Y.
write_pulse_volume:
  lda ch_duty,x
  cmp #$FF
  bne @duty
  lda ch_envduty,x
@duty:
  lsr                           ; duty in bits 7-6
  ror
  ror
  and #$C0
  ora out_volume,x
  ora #$30
  pha
  txa
  asl
  asl
  tay
  pla
  sta APU_PULSE1,y
  rts

; Expects: X = channel 0..2. Leaves: tmp0/tmp1 = period + offset held
; within 0..2047 (low/high). A.
output_period:
  clc
  lda ch_period_lo,x
  adc ch_offset_lo,x
  sta tmp0
  lda ch_period_hi,x
  adc ch_offset_hi,x
  sta tmp1
  bvs @highest                  ; the period is positive: only an upward overflow
  bmi @lowest
  cmp #8
  bcs @highest
  rts
@highest:
  lda #$FF
  sta tmp0
  lda #$07
  sta tmp1
  rts
@lowest:
  lda #0
  sta tmp0
  sta tmp1
  rts

; Expects: X = pulse channel, tmp0/tmp1 = the period. Leaves: the period
; written: the low byte alone when the high byte is unchanged, a full write
; after none or a jump of more than one, and otherwise a high byte carried
; by the sweep unit, which does not restart the waveform. A, Y.
write_pulse_period:
  txa
  asl
  asl
  tay
  lda tmp1
  cmp ch_last_hi,x
  bne @high_differs
  lda tmp0
  sta APU_LOW1,y
  jmp @remember
@high_differs:
  lda ch_last_hi,x
  cmp #$FF
  beq @full
  lda tmp1
  sec
  sbc ch_last_hi,x
  cmp #1
  beq @up
  cmp #$FF
  beq @down
@full:
  lda tmp0
  sta APU_LOW1,y
  lda tmp1
  sta APU_HIGH1,y
  jmp @remember
@up:
  lda #$40
  sta APU_FRAME
  lda #$FF
  sta APU_LOW1,y
  lda #$87                      ; sweep on, shift 7, adding
  sta APU_SWEEP1,y
  jmp @sweep
@down:
  lda #$40
  sta APU_FRAME
  lda #$00
  sta APU_LOW1,y
  lda #$8F                      ; sweep on, shift 7, subtracting
  sta APU_SWEEP1,y
@sweep:
  lda #$C0                      ; five-step mode: clocks the sweep at once
  sta APU_FRAME
  lda #$0F
  sta APU_SWEEP1,y
  lda tmp0
  sta APU_LOW1,y
@remember:
  lda tmp0
  sta ch_last_lo,x
  lda tmp1
  sta ch_last_hi,x
  rts
