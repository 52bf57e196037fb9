; The first tick of a row: each tone channel reads its cell, then the sample
; track starts its sample.

.segment "CODE"

; Expects: play_order, play_row. Leaves: the row applied to all channels
; and row_ptr at it for the row's later ticks. A, X, Y, temporaries.
start_row:
  jsr locate_row
  ldx #0
@channel:
  jsr channel_row_start
  inx
  cpx #4
  bne @channel
  ldy #SAMPLE_BYTE
  lda (row_ptr),y
  beq @no_sample
  jmp start_sample
@no_sample:
  rts

; Expects: X = channel, row_ptr. Leaves: cell_note, cell_fx, cell_param
; hold the channel's cell. A, Y, X kept.
read_cell:
  stx tmp0
  txa
  asl
  adc tmp0                      ; 3 x channel
  tay
  lda (row_ptr),y
  sta cell_note
  iny
  lda (row_ptr),y
  sta cell_fx
  iny
  lda (row_ptr),y
  sta cell_param
  rts

; Expects: X = channel, row_ptr. Leaves: the cell's row-start effect, its
; note and instrument (unless delayed) and the new period applied. X kept.
channel_row_start:
  lda #0
  sta ch_delay,x
  lda #$FF
  sta duty_set
  jsr read_cell
  jsr row_effect
  lda ch_delay,x
  bne @arpeggio
  jsr trigger_note
  bcs @arpeggio
  jsr step_envelopes
@arpeggio:
  lda cell_fx
  and #$0F
  bne @duty
  lda cell_param
  beq @duty
  jsr step_arpeggio
@duty:
  lda duty_set
  cmp #$FF
  beq @period
  sta ch_duty,x
@period:
  jmp set_period

; Expects: X = channel, the cell read. Leaves: the row-start column of the
; cell's own effect applied. A, Y, tmp0, tmp1.
row_effect:
  lda cell_fx
  and #$0F
  asl
  tay
  lda ROW_EFFECTS + 1,y
  pha
  lda ROW_EFFECTS,y
  pha
  lda cell_param
  rts                           ; to the effect, with A = the parameter

ROW_EFFECTS:
  .word row_done - 1, set_porta - 1, set_porta - 1, set_porta - 1
  .word set_vibrato - 1, set_slide - 1, set_slide - 1, set_vibrato - 1
  .word row_done - 1, row_done - 1, set_slide - 1, set_jump - 1
  .word set_volume_duty - 1, set_break - 1, extended - 1, set_speed_tempo - 1

set_porta:
  beq row_done
  sta ch_porta,x
row_done:
  rts

set_vibrato:
  beq row_done
  pha
  and #$0F
  sta ch_vibdepth,x
  pla
  lsr
  lsr
  lsr
  lsr
  sta ch_vibspeed,x
  rts

set_slide:
  beq row_done
  pha
  and #$0F
  sta ch_slidedown,x
  pla
  lsr
  lsr
  lsr
  lsr
  sta ch_slideup,x
  rts

set_jump:
  sta jump_order
  lda #1
  sta jump_pending
  rts

set_volume_duty:
  pha
  and #$0F
  sta ch_volume,x
  pla
  lsr
  lsr
  lsr
  lsr
  beq row_done
  sec
  sbc #1
  and #3
  sta duty_set
  rts

set_break:                      ; the digits read as decimal: x x 10 + y
  pha
  and #$F0
  lsr                           ; x x 8
  sta tmp0
  lsr
  lsr                           ; x x 2
  clc
  adc tmp0
  sta tmp0
  pla
  and #$0F
  clc
  adc tmp0
  sta break_row
  rts

set_speed_tempo:
  cmp #$20
  bcs @tempo
  sta speed
  jmp compute_increment
@tempo:
  sta tempo
  jmp compute_increment

; E: sub-command in the first digit, value in the second.
extended:
  pha
  and #$0F
  sta tmp1                      ; the value
  pla
  lsr
  lsr
  lsr
  lsr
  cmp #$1
  beq @fine_up
  cmp #$2
  beq @fine_down
  cmp #$A
  beq @volume_up
  cmp #$B
  beq @volume_down
  cmp #$D
  beq @delay
  rts
@fine_up:
  cpx #3
  beq @noise_up
  lda #0
  sec
  sbc tmp1
  tay
  lda #0
  sbc #0
  jmp add_offset                ; - value
@noise_up:
  inc ch_note,x
  rts
@fine_down:
  cpx #3
  beq @noise_down
  ldy tmp1
  lda #0
  jmp add_offset
@noise_down:
  dec ch_note,x
  rts
@volume_up:
  lda tmp1
  beq @up
  sta ch_slideup,x
@up:
  jmp slide_volume_up
@volume_down:
  lda tmp1
  beq @down
  sta ch_slidedown,x
@down:
  jmp slide_volume_down
@delay:
  lda tmp1
  beq @no_delay
  sta ch_delay,x
@no_delay:
  rts

; Expects: X = channel, the cell read. Leaves: carry set when the cell
; started a note or an instrument; the channel's note, instrument, effect,
; parameter, envelopes, volume and period set as a start does. A, Y, temporaries.
trigger_note:
  lda #0
  sta started
  lda cell_note
  beq @instrument
  cmp #NOTE_OFF
  bne @note
  lda #0
  sta ch_note,x
  sta ch_volume,x
  beq @instrument
@note:
  sta ch_note,x
  inc started
@instrument:
  lda cell_fx
  lsr
  lsr
  lsr
  lsr
  beq @effect
  sta ch_instr,x
  lda #1
  sta started
@effect:
  lda cell_fx
  and #$0F
  sta ch_effect,x
  lda cell_param
  sta ch_param,x
  lda started
  bne @start
  clc
  rts
@start:
  jsr is_tone_porta
  bcc @restart
  jsr clamp_envelopes           ; a new instrument may be shorter than the old positions
  jmp @envelopes
@restart:
  lda #0
  sta ch_envpos,x
  sta ch_envpos + 4,x
  sta ch_envpos + 8,x
  sta ch_offset_lo,x
  sta ch_offset_hi,x
  sta ch_tremolo,x
  sta ch_arpstep,x
@envelopes:
  jsr step_envelopes
  lda ch_effect,x
  cmp #$C
  beq @keep_volume
  jsr is_tone_porta
  bcs @keep_volume
  lda #15
  sta ch_volume,x
@keep_volume:
  lda #$FF
  sta ch_duty,x
  jsr clamped_index
  tay
  jsr is_tone_porta
  bcc @new_period
  sec                           ; the old pitch, from which the new note slides in
  lda ch_period_lo,x
  sbc period_lo,y
  sta ch_offset_lo,x
  lda ch_period_hi,x
  sbc period_hi,y
  sta ch_offset_hi,x
@new_period:
  lda period_lo,y
  sta ch_period_lo,x
  lda period_hi,y
  sta ch_period_hi,x
  sec
  rts

; Expects: X = channel. Leaves: carry set when its effect is 3 or 5. A.
is_tone_porta:
  lda ch_effect,x
  cmp #3
  beq @yes
  cmp #5
  beq @yes
  clc
  rts
@yes:
  sec
  rts
