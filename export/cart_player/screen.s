; The screen, drawn once at start-up while rendering is off: the logo, a
; line about the player (or the warning when the timer interrupt does not
; work), and the instrument names.

LOGO_FIRST_TILE = 1
LOGO_WIDTH = 24
RULE_TILE = 49
TILE_OFFSET = 94                ; the font's tile of character c is c - 94

; A line of text centred on a 32-column row: PPU address, length, characters.
.macro centred row, text
  .local address
  address = $2000 + row * 32 + (32 - .strlen(text)) / 2
  .byte >address, <address, .strlen(text), text
.endmacro

.segment "RODATA"

PALETTE:
  .byte $0F, $30, $12, $21      ; black, white, blue, light blue

WARNING_LINES:
  centred 6, "THE EMULATOR YOU ARE USING"
  centred 7, "DOESN'T PROPERLY SUPPORT"
  centred 8, "VRC6 IRQ!"
  centred 10, "PLEASE USE A REAL NES,"
  centred 11, "NESTOPIA OR NINTENDULATOR."
  .byte 0

PAL_LINES:
  centred 8, "QUILLCHANTER VRC6 PLAYER"
  centred 10, "PAL"
  .byte 0

NTSC_LINES:
  centred 8, "QUILLCHANTER VRC6 PLAYER"
  centred 10, "NTSC"
  .byte 0

.segment "CODE"

; Expects: rendering off. Leaves: the palette, name table 0 cleared, the
; logo and the 15 name lines drawn. A, X, Y, ptr0.
draw_screen:
  bit PPUSTATUS
  lda #$3F
  sta PPUADDR
  lda #$00
  sta PPUADDR
  ldx #0
@palette:
  txa
  and #3
  tay
  lda PALETTE,y
  sta PPUDATA
  inx
  cpx #32
  bne @palette

  lda #$20
  sta PPUADDR
  lda #$00
  sta PPUADDR
  tax
  ldy #4
@clear:                         ; 1024 bytes: tiles and attributes
  sta PPUDATA
  inx
  bne @clear
  dey
  bne @clear

  lda #>($2000 + 3 * 32 + 4)
  ldx #<($2000 + 3 * 32 + 4)
  ldy #LOGO_FIRST_TILE
  jsr draw_logo_row
  lda #>($2000 + 4 * 32 + 4)
  ldx #<($2000 + 4 * 32 + 4)
  ldy #LOGO_FIRST_TILE + LOGO_WIDTH
  jsr draw_logo_row
  lda #>($2000 + 5 * 32 + 4)
  sta PPUADDR
  lda #<($2000 + 5 * 32 + 4)
  sta PPUADDR
  lda #RULE_TILE
  ldx #LOGO_WIDTH
@rule:
  sta PPUDATA
  dex
  bne @rule

  lda #>NAME_LINES_PPU
  sta PPUADDR
  lda #<NAME_LINES_PPU
  sta PPUADDR
  lda name_lines
  sta ptr0
  lda name_lines + 1
  sta ptr0 + 1
  ldx #>NAME_LINES_BYTES + 1
  ldy #0
@names:                         ; 480 bytes, tile numbers already
  cpx #1
  bne @copy
  cpy #<NAME_LINES_BYTES
  beq @done
@copy:
  lda (ptr0),y
  sta PPUDATA
  iny
  bne @names
  inc ptr0 + 1
  dex
  bne @names
@done:
  rts

; Expects: A/X = PPU address, Y = first tile. Leaves: 24 consecutive tiles drawn. A, X, Y.
draw_logo_row:
  sta PPUADDR
  stx PPUADDR
  ldx #LOGO_WIDTH
@tile:
  sty PPUDATA
  iny
  dex
  bne @tile
  rts

; Expects: rendering off. Leaves: the six lines about the missing timer drawn. A, X, Y, ptr0.
draw_warning:
  lda #<WARNING_LINES
  ldy #>WARNING_LINES
  jmp draw_lines

; Expects: rendering off, is_ntsc. Leaves: the player's line and the video standard drawn. A, X, Y, ptr0.
draw_standard:
  lda #<PAL_LINES
  ldy #>PAL_LINES
  ldx is_ntsc
  beq draw_lines
  lda #<NTSC_LINES
  ldy #>NTSC_LINES
  ; fall through

; Expects: A/Y = lines (PPU address high, low, length, ASCII; a 0 ends
; them), rendering off. Leaves: them drawn as font tiles. A, X, Y, ptr0.
draw_lines:
  sta ptr0
  sty ptr0 + 1
  ldy #0
@line:
  lda (ptr0),y
  beq @done
  sta PPUADDR
  iny
  lda (ptr0),y
  sta PPUADDR
  iny
  lda (ptr0),y
  tax
  iny
@char:
  lda (ptr0),y
  sec
  sbc #TILE_OFFSET
  sta PPUDATA
  iny
  dex
  bne @char
  jmp @line
@done:
  rts
