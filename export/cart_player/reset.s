; Start-up and the main loop.

.segment "CODE"

; Expects: the console just reset. Never returns: runs the main loop.
reset:
  sei
  cld
  ldx #$FF
  txs
  lda #0
  sta PPUCTRL
  sta PPUMASK
  sta VRC6_IRQ_CONTROL
  sta APU_DMC_CONTROL           ; no DMC interrupt
  lda #$40
  sta APU_FRAME                 ; no frame-counter interrupt: the IRQ line is the timer's
  jsr map_banks
  jsr silence
  bit PPUSTATUS
  jsr wait_vblank
  jsr clear_ram
  jsr wait_vblank               ; the PPU takes two frames to wake up
  jsr init_song
  jsr draw_screen
  lda #$80
  sta PPUCTRL                   ; NMI on at each vertical blank
  jsr detect_standard
  jsr test_timer
  bcs @timer_works
  jsr draw_warning
  jmp @show                     ; play on without samples: the interrupt stays masked
@timer_works:
  jsr draw_standard
  jsr start_timer
@show:
  jsr wait_nmi
  lda #0
  sta PPUSCROLL
  sta PPUSCROLL
  lda #$80
  sta PPUCTRL                   ; name table 0, background tiles from $0000
  lda #%00001010
  sta PPUMASK                   ; background on, left column too
main_loop:
  jsr wait_nmi
  jsr player_frame
  jmp main_loop

; Expects: NMI on. Leaves: A = nmi_count, just after an NMI.
wait_nmi:
  lda nmi_count
@wait:
  cmp a:nmi_count               ; 4: the sample interrupt's timing rests on this loop
  beq @wait
  lda nmi_count
  rts

; Expects: nothing. Leaves: PPUSTATUS read until its vertical-blank flag was set; A.
wait_vblank:
  bit PPUSTATUS
  bpl wait_vblank
  rts

; Expects: nothing. Leaves: 16 KB bank 0 at $8000, the table half at $C000,
; CHR banks 0-7 in order, the VRC6's own channels silent. A, X.
map_banks:
  lda #0
  sta VRC6_PRG16
  sta VRC6_PPU_MODE             ; 1 KB CHR banks, vertical mirroring
  lda #TABLE_BANK
  sta VRC6_PRG8
  ldx #3
@chr:
  txa
  sta VRC6_CHR_LOW,x
  ora #4
  sta VRC6_CHR_HIGH,x
  dex
  bpl @chr
  lda #0
  ldx #2
@vrc6_sound:
  sta VRC6_PULSE1,x
  sta VRC6_PULSE2,x
  sta VRC6_SAW,x
  dex
  bpl @vrc6_sound
  sta VRC6_PULSE1 + 3
  rts

; Expects: nothing. Leaves: the APU silent with pulses, triangle and noise
; enabled and the DMC off, as the NSF driver starts. A.
silence:
  lda #0
  sta APU_DMC_CONTROL
  sta APU_TRIANGLE
  lda #$30
  sta APU_PULSE1
  sta APU_PULSE1 + 4
  sta APU_NOISE
  lda #$0F
  sta APU_SWEEP1
  sta APU_SWEEP1 + 4
  sta APU_STATUS
  rts

; Expects: called from reset (the stack page is kept). Leaves: RAM zero. A, X.
clear_ram:
  lda #0
  tax
@clear:
  sta $00,x
  sta $0200,x
  sta $0300,x
  sta $0400,x
  sta $0500,x
  sta $0600,x
  sta $0700,x
  inx
  bne @clear
  rts

; Expects: NMI on, interrupts masked. Leaves: is_ntsc, the period table in
; RAM and the row threshold for the console's frame rate. A, X, Y.
; A frame lasts 29780.5 CPU cycles on NTSC and 33247.5 on PAL; the count
; below takes 11 cycles a pass (12 when X wraps), so Y ends at 10 on NTSC,
; 11 on PAL and 12 on a Dendy.
detect_standard:
  jsr wait_nmi
  ldx #0
  ldy #0
@count:
  inx                           ; 2
  bne @same                     ; 3
  iny
@same:
  cmp nmi_count                 ; 3
  beq @count                    ; 3
  cpy #11
  bcs @pal
  lda #1
  sta is_ntsc
  lda #<38400
  sta threshold
  lda #>38400
  sta threshold + 1
  lda #<PERIODS_NTSC
  ldy #>PERIODS_NTSC
  jmp copy_periods
@pal:
  lda #<32000
  sta threshold
  lda #>32000
  sta threshold + 1
  lda #<PERIODS_PAL
  ldy #>PERIODS_PAL
  ; fall through

; Expects: A/Y = address of a table of 97 little-endian periods. Leaves: it
; copied to period_lo/period_hi. A, X, Y, ptr0.
copy_periods:
  sta ptr0
  sty ptr0 + 1
  ldx #0
  ldy #0
@copy:
  lda (ptr0),y
  sta period_lo,x
  iny
  lda (ptr0),y
  sta period_hi,x
  iny
  inx
  cpx #PERIOD_ENTRIES
  bne @copy
  rts

; Expects: interrupts masked, no sample playing. Leaves: carry set when the
; timer interrupt fired a plausible number of times in the window, the
; timer stopped, interrupts masked. A, X.
; The window is 256 passes of 5 cycles plus the handlers; with the reload
; value $42 (190 cycles) a working timer fires about seven times in it.
test_timer:
  lda #0
  sta irq_seen
  lda #$42
  sta VRC6_IRQ_LATCH
  lda #IRQ_CYCLE_MODE_ON
  sta VRC6_IRQ_CONTROL
  cli
  ldx #0
@window:
  dex                           ; 2
  bne @window                   ; 3
  sei
  lda #0
  sta VRC6_IRQ_CONTROL
  lda irq_seen
  cmp #3
  bcc @fail
  cmp #16
  bcs @fail
  sec
  rts
@fail:
  clc
  rts

; Expects: is_ntsc set, interrupts masked. Leaves: the timer running at its
; sample rate and interrupts on. A.
start_timer:
  lda #$40                      ; 192 cycles a count on PAL
  ldx is_ntsc
  beq @set
  lda #$30                      ; 208 on NTSC
@set:
  sta VRC6_IRQ_LATCH
  lda #IRQ_CYCLE_MODE_ON
  sta VRC6_IRQ_CONTROL
  cli
  rts

; Expects: the table half at $C000. Leaves: the song's table addresses, the
; sequencer at order 0, row 0, speed 6, tempo 125, every channel with no
; period written and no duty override. A, X, Y.
init_song:
  ldx #5
@words:
  lda TABLE_INSTRUMENTS,x
  sta tbl_instruments,x
  dex
  bpl @words
  lda tbl_instruments
  sec
  sbc #<(ORDER_LIST + 1)        ; the pointer table follows the list and its end byte
  sta order_count
  lda tbl_samples
  sec
  sbc tbl_patterns
  lsr
  sta pattern_count
  ldy #0
  lda (tbl_instruments),y
  sta first_record
  iny
  lda (tbl_instruments),y
  sta first_record + 1
  ldy #28                       ; instrument 15: its record, then the name lines
  lda (tbl_instruments),y
  clc
  adc #<RECORD_BYTES
  sta name_lines
  iny
  lda (tbl_instruments),y
  adc #>RECORD_BYTES
  sta name_lines + 1
  lda #6
  sta speed
  lda #125
  sta tempo
  jsr compute_increment
  lda #$FF
  sta break_row
  ldx #3
@channels:
  sta ch_last_lo,x
  sta ch_last_hi,x
  sta ch_duty,x
  dex
  bpl @channels
  rts

; Expects: nothing (the NMI). Leaves: nmi_count advanced, everything else as found.
nmi:
  inc nmi_count
  rti
