; The sequencer: one call a video frame. It moves through rows and orders as
; the editor's player does, with the cartridge's two timing rules: the
; increment is tempo x 256 / speed rounded down, and the accumulator keeps
; its remainder at every row advance, pattern changes included.

.segment "CODE"

; Expects: init_song done. Leaves: one tick played and the registers
; written; the row advanced when the accumulator reached the threshold.
; A, X, Y, temporaries.
player_frame:
  lda play_tick
  bne @later_tick
  jsr start_row
  jmp @registers
@later_tick:
  jsr tick_channels
@registers:
  jsr write_registers
  inc play_tick
  clc
  lda accumulator
  adc increment
  sta accumulator
  lda accumulator + 1
  adc increment + 1
  sta accumulator + 1
  bcc @compare
  inc accumulator + 2
@compare:
  sec
  lda accumulator
  sbc threshold
  tax
  lda accumulator + 1
  sbc threshold + 1
  tay
  lda accumulator + 2
  sbc #0
  bcc @done
  sta accumulator + 2
  sty accumulator + 1
  stx accumulator
  jmp advance_row
@done:
  rts

; Expects: a row advance due. Leaves: play_order, play_row and play_tick at
; the next row to read: a pending break first, else a pending jump, else
; the next row or the next order. A, X.
advance_row:
  lda #0
  sta play_tick
  lda break_row
  cmp #$FF
  beq @no_break
  jsr next_order
  lda break_row
  cmp #64
  bcc @break_row
  lda #0
@break_row:
  sta play_row
  lda #$FF
  sta break_row
  jmp pattern_change
@no_break:
  lda jump_pending
  beq @no_jump
  lda #0
  sta jump_pending
  sta play_row
  lda jump_order
  cmp order_count
  bcc @jump
  ldx order_count               ; past the list: its last entry
  dex
  txa
@jump:
  sta play_order
  jmp pattern_change
@no_jump:
  ldx play_row
  inx
  cpx #64
  bcs @next_pattern
  stx play_row
  rts
@next_pattern:
  jsr next_order
  lda #0
  sta play_row
  ; fall through

; Expects: a new pattern entered. Leaves: vibrato, tremolo and arpeggio
; cycles restarted on every channel; the accumulator untouched. A, X.
pattern_change:
  lda #0
  ldx #3
@channel:
  sta ch_vibpos,x
  sta ch_arpstep,x
  dex
  bpl @channel
  rts

; Expects: nothing. Leaves: play_order at the next entry, back at 0 after
; the end byte. A, X.
next_order:
  ldx play_order
  inx
  lda ORDER_LIST,x
  bpl @keep
  ldx #0
@keep:
  stx play_order
  rts

; Expects: speed and tempo. Leaves: increment = tempo x 256 / speed rounded
; down, 0 when speed is 0 (the row then never advances). A, Y.
compute_increment:
  lda #0
  sta increment
  ldy speed
  bne @divide
  sta increment + 1
  rts
@divide:
  lda tempo
  sta increment + 1
  lda #0                        ; remainder
  ldy #16
@bit:
  asl increment                 ; the dividend shifts out as the quotient shifts in
  rol increment + 1
  rol a
  cmp speed
  bcc @next
  sbc speed
  inc increment
@next:
  dey
  bne @bit
  rts

; Expects: play_order, play_row. Leaves: row_ptr at the row's 13 bytes with
; its 16 KB bank selected at $8000; a pattern the song does not hold reads
; as an empty one. A, X, Y, tmp1, tmp2.
locate_row:
  ldx play_order
  lda ORDER_LIST,x
  cmp pattern_count
  bcc @stored
  lda #<EMPTY_ROW
  sta row_ptr
  lda #>EMPTY_ROW
  sta row_ptr + 1
  rts
@stored:
  tay
  lsr
  lsr
  lsr
  lsr
  sta VRC6_PRG16
  tya
  asl
  tay
  lda (tbl_patterns),y
  sta row_ptr
  iny
  lda (tbl_patterns),y
  sta row_ptr + 1
  lda #0                        ; row x 13 = row x 12 + row, at most 819
  sta tmp1
  lda play_row
  asl
  asl
  sta tmp2
  asl
  rol tmp1
  clc
  adc tmp2
  bcc @plus_row
  inc tmp1
  clc
@plus_row:
  adc play_row
  bcc @add
  inc tmp1
  clc
@add:
  adc row_ptr
  sta row_ptr
  lda tmp1
  adc row_ptr + 1
  sta row_ptr + 1
  rts

.segment "RODATA"
EMPTY_ROW:
  .res ROW_BYTES, 0
