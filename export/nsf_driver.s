; NSF driver: replays the song compiler's per-tick register streams and
; streams 156 sample bytes a tick through the DAC ($4011).
;
; Banks (NSF 4 KB windows): the driver at $F000, the table bank at $9000
; (selected once by init), the stream bank of the channel being decoded at
; $A000, the sample bank being copied at $C000.
;
; Timing. play waits, then runs ticks forever. A tick is 156 slots; a slot
; writes one byte to the DAC and then runs one job of the tick's schedule
; (see the end of this file). Every job takes JOB_CYCLES on every path, so a
; slot lasts 213 cycles, or 214 in the 32 slots marked in slot_long, and the
; last slot of every other tick one more: ticks of 33260 and 33261 cycles in
; turn, and DAC writes 213 or 214 cycles apart, tick boundaries included.
; Cycle counts in the comments are from the first cycle of the routine
; (jobs) or including the JSR (subroutines).
;
; DAC order: slot s writes buffer position (s + 108) mod 156, so a tick
; plays positions 108-155 of the chunk copied in the previous tick, then
; 0-107 of the chunk copied in this one. The schedule copies the main part
; (positions 0-127) between slots 19 and 47 and the tail part (128-155)
; from slot 47 on, each after the old byte left and before the new one is due.


APU_DAC       = $4011
BANK_TABLES   = $5FF9         ; $9000 window
BANK_STREAM   = $5FFA         ; $A000 window
BANK_SAMPLE   = $5FFC         ; $C000 window
TABLE_BANK    = $9000
OUTBUF        = $0200         ; one 156-byte chunk
SILENCE       = $0300         ; bytes of $3F that the stopped sample copies
DAC_CENTRE    = $3F

SLOTS         = 156
SLOT_CYCLES   = 213
LONG_SLOTS    = 32
FRAME_CYCLES  = 45 + 8        ; slot_top to the job, slot_next after it
JOB_CYCLES    = SLOT_CYCLES - FRAME_CYCLES  ; its closing jmp slot_next included
MAIN_PART     = 128
TAIL_PART     = 28
DAC_SHIFT     = 108           ; buffer position written in slot 0
; play's first cycle to the first DAC write, which is cycle 15 of a slot
PLAY_WAIT     = 332470
DAC_IN_SLOT   = 14

CHANNELS      = 5             ; Pulse 1, Pulse 2, Triangle, Noise, PCM
PCM           = 4

; Decoded fields, in stream order: index into val. Pulse c has period
; high, period low and duty*16+volume at 3 * c.
F_TRI_HIGH    = 6
F_TRI_LOW     = 7
F_TRI_ON      = 8
F_NOISE_MODE  = 9             ; mode*16 + period index
F_NOISE_VOL   = 10
F_SAMPLE      = 11
FIELDS        = 12

; ---- zero page ----
zp_next .set 0
.macro var name, size
  name = zp_next
  zp_next .set zp_next + (size)
.endmacro

var slot, 1            ; slot being run, 0-155
var alt, 1             ; flips every tick; the odd tick is a cycle longer
var rd_ptr, 2          ; reader of the channel being decoded: next byte
var rd_cur, 1          ;   bits left of its byte, above a 1 sentinel
var take, 1            ; 1 while the field being decoded has changed
var acc, 1             ; the field's value, built MSB first
var ch_lo, CHANNELS    ; stream position of each channel between ticks
var ch_hi, CHANNELS
var ch_bank, CHANNELS
var ch_cur, CHANNELS
var val, FIELDS        ; last decoded value of every field
var order_idx, 1
var loop_point, 1
var ticks_left, 2      ; ticks left in the current stream patterns
var newpat, 1          ; 1 in a tick that starts new stream patterns
var lists, 2 * CHANNELS    ; stream order lists (CPU addresses)
var tables, 2 * CHANNELS   ; pattern tables
var sample_table, 2
var tmp, 2
var main_ptr, 2        ; sample playing: next 128-byte main part
var main_bank, 1
var tail_ptr, 2        ;   next 28-byte tail part
var tail_bank, 1
var chunks, 2          ;   chunks left, counting the one copied last
var looping, 1         ;   $80 when it restarts at its end
var entry, 8           ;   its sample entry, for the restart
var starting, 1        ; 1 in a tick that starts a sample
var last_sample, 1     ; sample value last seen, 255 = none yet
var hi_cache, 2        ; value last written to $4003 / $4007
.assert zp_next <= $100, error, "zero page overflow"

; ---- timing macros ----

; Exactly `cycles` cycles (0 or 2 and up); touches no register or flag.
.macro pad cycles
  .assert (cycles) = 0 || (cycles) >= 2, error, "pad: cannot pad 1 cycle"
  .if ((cycles) .mod 2) = 1
    jmp *+3
    .repeat ((cycles) - 3) / 2
      nop
    .endrepeat
  .else
    .repeat (cycles) / 2
      nop
    .endrepeat
  .endif
.endmacro

; Exactly `cycles` cycles (0 or 2 and up); clobbers X, N and Z.
.macro delay cycles
  .if (cycles) <= 12
    pad cycles
  .elseif (cycles) > 1285
    delay 1280
    delay (cycles) - 1280
  .elseif >(* + 2) <> >(* + 5)
    nop                      ; moves the loop off a page boundary
    delay (cycles) - 2
  .else
    ; r rounds take 5 * r + 1 cycles; r leaves 0 or 2-6 cycles to pad.
    ; (No .set symbols here: they would end the scope of @labels.)
    ldx #<(((cycles) - 1) / 5 - ((((cycles) - 1) .mod 5) = 1))
  :
    dex
    bne :-
    .assert >(:-) = >*, error, "delay loop crosses a page"
    pad (cycles) - 5 * (((cycles) - 1) / 5 - ((((cycles) - 1) .mod 5) = 1)) - 1
  .endif
.endmacro

; Exactly `cycles` cycles, up to 329000; clobbers X, Y, N and Z.
.macro wait_long cycles
  .assert ((cycles) - 20) / 1286 <= 255, error, "wait_long: out of range"
  ldy #((cycles) - 20) / 1286
:
  ldx #0                     ; one round: 1286 cycles, the last 1285
:
  dex
  bne :-
  dey
  bne :--
  .assert >(:--) = >*, error, "wait loop crosses a page"
  delay (cycles) - 1 - ((cycles) - 20) / 1286 * 1286
.endmacro

; Ends a job path that has used `used` cycles: pads it to JOB_CYCLES.
.macro finish used
  delay JOB_CYCLES - 3 - (used)
  jmp slot_next
.endmacro

; Starts the next routine on a fresh page when fewer than `bytes` are left
; on this one, so that its branches never cross a page (a crossing branch
; costs a cycle more). Routine sizes are upper bounds; same_page checks them.
.macro fit_in_page bytes
  .if (* & $FF) + (bytes) > $100
    .res $100 - (* & $FF)
  .endif
.endmacro

; A branch whose taken cost must be 3: same page as its target.
.macro same_page label
  .assert >(label) = >*, error, "branch crosses a page"
.endmacro

.segment "CODE"
.org $F000

.assert * <= $F04B, error, "data runs into init"
.res $F04B - *

; init: A = song (ignored). Silences the APU, reads the table bank, resets
; the streams and stops the sample. Leaves zero page set up for play.
init:
  lda #0
  sta $4010
  sta $4008
  lda #$30
  sta $4000
  sta $4004
  sta $400C
  lda #$0F
  sta $4001
  sta $4005
  sta $4015
  ldx #0
  txa
@clear:
  sta $00,x
  inx
  bne @clear
  lda #1
  sta BANK_TABLES
  ; offsets at $9004: list and table of each channel, then the sample table
  ldx #0
  ldy #0
@offsets:
  lda TABLE_BANK + 4,y
  sta lists,x
  lda TABLE_BANK + 5,y
  clc
  adc #>TABLE_BANK
  sta lists + 1,x
  lda TABLE_BANK + 6,y
  sta tables,x
  lda TABLE_BANK + 7,y
  clc
  adc #>TABLE_BANK
  sta tables + 1,x
  iny
  iny
  iny
  iny
  inx
  inx
  cpx #2 * CHANNELS
  bne @offsets
  lda TABLE_BANK + 24
  sta sample_table
  lda TABLE_BANK + 25
  clc
  adc #>TABLE_BANK
  sta sample_table + 1
  lda TABLE_BANK + 26
  sta loop_point
  lda #DAC_CENTRE
  ldx #0
@silence:
  sta OUTBUF,x               ; the first tick plays out a silent chunk
  sta SILENCE,x
  inx
  cpx #SLOTS
  bne @silence
  lda #$FF
  sta hi_cache
  sta hi_cache + 1
  sta last_sample
  jsr stop
  rts

; stop: the sample channel copies the silence buffer every tick.
; Clobbers A. 41 cycles.
stop:
  lda #<SILENCE              ; 8
  sta main_ptr               ; 11
  sta tail_ptr               ; 14
  lda #>SILENCE              ; 16
  sta main_ptr + 1           ; 19
  sta tail_ptr + 1           ; 22
  lda #1                     ; 24
  sta chunks                 ; 27
  lda #0                     ; 29
  sta chunks + 1             ; 32
  sta looping                ; 35
  rts                        ; 41

; restart: the sample in `entry` starts from its first chunk; an entry
; without chunks (an empty slot) stops instead. Clobbers A. 100 cycles.
restart:
  lda entry + 0              ; 9
  sta main_ptr               ; 12
  lda entry + 1              ; 15
  sta main_ptr + 1           ; 18
  lda entry + 2              ; 21
  sta main_bank              ; 24
  lda entry + 3              ; 27
  sta tail_ptr               ; 30
  lda entry + 4              ; 33
  sta tail_ptr + 1           ; 36
  lda entry + 5              ; 39
  sta tail_bank              ; 42
  lda entry + 6              ; 45
  sta chunks                 ; 48
  lda entry + 7              ; 51
  and #$7F                   ; 53
  sta chunks + 1             ; 56
  ora chunks                 ; 59
  beq @empty                 ; 61 / 62
  same_page @empty
  lda entry + 7              ; 64
  and #$80                   ; 66
  sta looping                ; 69
  pad 25                     ; 94
  rts                        ; 100
@empty:
  jmp stop                   ; 65, then stop without its jsr: 65 + 35 = 100

.assert * <= $F139, error, "init runs into play"
.res $F139 - *

; play: never returns. Waits, then runs the tick loop; the first DAC write
; comes PLAY_WAIT cycles after play's first cycle.
play:
  lda #0                     ; 2
  sta slot                   ; 5
  lda #1                     ; 7
  sta alt                    ; 10: the first tick is the short one
  wait_long 300000
  wait_long PLAY_WAIT - DAC_IN_SLOT - 10 - 3 - 300000
  jmp slot_top               ; slot 0 starts PLAY_WAIT - DAC_IN_SLOT after play

fit_in_page $20
; The slot frame: 45 cycles to the job (46 in a long slot), 8 after it.
slot_top:
  ldx slot                   ; 3
  ldy dac_position,x         ; 7
  lda OUTBUF,y               ; 11
  sta APU_DAC                ; 15: the write is cycle DAC_IN_SLOT + 1
  lda slot_long,x            ; 19
  bne @long                  ; 21 / 22
  same_page @long
@long:
  ldy job_arg,x              ; 25: jobs get their argument in Y
  lda job_high,x             ; 29
  pha                        ; 32
  lda job_low,x              ; 36
  pha                        ; 39
  rts                        ; 45
slot_next:
  inc slot                   ; 5
  jmp slot_top               ; 8

fit_in_page $28
; getbit: C = next stream bit of the channel selected by job_select.
; Clobbers A and Y. 46 cycles.
getbit:
  lsr rd_cur                 ; 11
  beq @fetch                 ; 13 / 14
  same_page @fetch
  pad 27                     ; 40
  rts                        ; 46
@fetch:                      ; the sentinel fell out: next byte, its bit 0 in C
  ldy #0                     ; 16
  lda (rd_ptr),y             ; 21
  sec                        ; 23
  ror a                      ; 25
  sta rd_cur                 ; 28
  inc rd_ptr                 ; 33
  bne @same                  ; 35 / 36
  same_page @same
  inc rd_ptr + 1             ; 40
  rts                        ; 46
@same:
  nop                        ; 38
  nop                        ; 40
  rts                        ; 46

; ---- jobs: Y = argument on entry; every path takes JOB_CYCLES ----

job_idle:
  finish 0

fit_in_page $1A
; Last slot: flips alt; the tick that sets it is one cycle longer.
job_end_tick:
  lda #$FF                   ; 2: slot_next makes it 0
  sta slot                   ; 5
  lda alt                    ; 8
  eor #1                     ; 10
  sta alt                    ; 13
  bne @long                  ; 15 / 16
  same_page @long
@long:
  finish 15

fit_in_page $46
; Counts down the ticks of the current stream patterns, or flags a load and
; folds the order index back to the loop point at a terminator.
job_pattern_step:
  lda ticks_left             ; 3
  ora ticks_left + 1         ; 6
  beq @load                  ; 8 / 9
  same_page @load
  lda ticks_left             ; 11
  sec                        ; 13
  sbc #1                     ; 15
  sta ticks_left             ; 18
  lda ticks_left + 1         ; 21
  sbc #0                     ; 23
  sta ticks_left + 1         ; 26
  lda #0                     ; 28
  sta newpat                 ; 31
  finish 31
@load:
  lda #1                     ; 11
  sta newpat                 ; 14
  ldy order_idx              ; 17
  lda (lists),y              ; 22: Pulse 1's list; all end together
  cmp #$FF                   ; 24
  beq @wrap                  ; 26 / 27
  same_page @wrap
  finish 26
@wrap:
  lda loop_point             ; 30
  sta order_idx              ; 33
  finish 33

fit_in_page $66
; Y = channel. In a loading tick: the channel's stream position becomes
; the start of its next stream pattern.
job_pattern_load:
  lda newpat                 ; 3
  bne @load                  ; 5 / 6
  same_page @load
  finish 5
@load:
  tya                        ; 8
  asl a                      ; 10
  tax                        ; 12: X = channel * 2
  lda lists,x                ; 16
  sta tmp                    ; 19
  lda lists + 1,x            ; 23
  sta tmp + 1                ; 26
  ldy order_idx              ; 29
  lda (tmp),y                ; 34: pattern number n
  sta tmp                    ; 37
  lda #0                     ; 39
  asl tmp                    ; 44
  rol a                      ; 46
  asl tmp                    ; 51
  rol a                      ; 53
  asl tmp                    ; 58
  rol a                      ; 60
  sta tmp + 1                ; 63: tmp = n * 8
  lda tmp                    ; 66
  clc                        ; 68
  adc tables,x               ; 72
  sta tmp                    ; 75
  lda tmp + 1                ; 78
  adc tables + 1,x           ; 82
  sta tmp + 1                ; 85: its 8-byte entry
  txa                        ; 87
  lsr a                      ; 89
  tax                        ; 91: X = channel
  ldy #0                     ; 93
  lda (tmp),y                ; 98
  sta ch_lo,x                ; 102
  iny                        ; 104
  lda (tmp),y                ; 109
  sta ch_hi,x                ; 113
  iny                        ; 115
  lda (tmp),y                ; 120
  sta ch_bank,x              ; 124
  iny                        ; 126
  lda (tmp),y                ; 131
  sta ticks_left             ; 134
  iny                        ; 136
  lda (tmp),y                ; 141
  sta ticks_left + 1         ; 144
  lda #1                     ; 146
  sta ch_cur,x               ; 150: no bits left, the next read fetches
  finish 150

fit_in_page $1C
job_order_advance:
  lda newpat                 ; 3
  beq @keep                  ; 5 / 6
  same_page @keep
  inc order_idx              ; 10
  finish 10
@keep:
  finish 6

; Y = channel: its reader becomes the current one, its bank goes to $A000.
job_select:
  tya                        ; 2
  tax                        ; 4
  lda ch_lo,x                ; 8
  sta rd_ptr                 ; 11
  lda ch_hi,x                ; 15
  sta rd_ptr + 1             ; 18
  lda ch_cur,x               ; 22
  sta rd_cur                 ; 25
  lda ch_bank,x              ; 29
  sta BANK_STREAM            ; 33
  finish 33

; Y = channel: the current reader goes back to the channel.
job_deselect:
  tya                        ; 2
  tax                        ; 4
  lda rd_ptr                 ; 7
  sta ch_lo,x                ; 11
  lda rd_ptr + 1             ; 14
  sta ch_hi,x                ; 18
  lda rd_cur                 ; 21
  sta ch_cur,x               ; 25
  finish 25

; A change-coded field: its flag bit, value bits (MSB first) while the
; flag is set, then the store.
job_flag:
  jsr getbit                 ; 46
  lda #0                     ; 48
  sta acc                    ; 51
  rol a                      ; 53
  sta take                   ; 56
  finish 56

fit_in_page $28
job_bits2:
  lda take                   ; 3
  bne @read                  ; 5 / 6
  same_page @read
  finish 5
@read:
  jsr getbit                 ; 52
  rol acc                    ; 57
  jsr getbit                 ; 103
  rol acc                    ; 108
  finish 108

fit_in_page $20
job_bits1:
  lda take                   ; 3
  bne @read                  ; 5 / 6
  same_page @read
  finish 5
@read:
  jsr getbit                 ; 52
  rol acc                    ; 57
  finish 57

fit_in_page $1E
; Y = field index.
job_store:
  lda take                   ; 3
  beq @keep                  ; 5 / 6
  same_page @keep
  lda acc                    ; 8
  sta val,y                  ; 13
  finish 13
@keep:
  finish 6

; The triangle's on bit, present on every tick.
job_on_bit:
  jsr getbit                 ; 46
  lda #0                     ; 48
  rol a                      ; 50
  sta val + F_TRI_ON         ; 53
  finish 53

fit_in_page $30
; Sample step: the main part moves on by 128, into the next bank after $CFFF.
job_advance_main:
  lda main_ptr               ; 3
  clc                        ; 5
  adc #MAIN_PART             ; 7
  sta main_ptr               ; 10
  lda main_ptr + 1           ; 13
  adc #0                     ; 15
  cmp #$D0                   ; 17
  beq @next_bank             ; 19 / 20
  same_page @next_bank
  sta main_ptr + 1           ; 22
  finish 22
@next_bank:
  lda #$C0                   ; 22
  sta main_ptr + 1           ; 25
  inc main_bank              ; 30
  finish 30

fit_in_page $3E
; The tail part moves on by 28; at $FC of a page it goes to the next page,
; after $CFFF into the next bank.
job_advance_tail:
  lda tail_ptr               ; 3
  clc                        ; 5
  adc #TAIL_PART             ; 7
  cmp #$FC                   ; 9
  beq @next_page             ; 11 / 12
  same_page @next_page
  sta tail_ptr               ; 14
  finish 14
@next_page:
  lda #0                     ; 14
  sta tail_ptr               ; 17
  lda tail_ptr + 1           ; 20
  clc                        ; 22
  adc #1                     ; 24
  cmp #$D0                   ; 26
  beq @next_bank             ; 28 / 29
  same_page @next_bank
  sta tail_ptr + 1           ; 31
  finish 31
@next_bank:
  lda #$C0                   ; 31
  sta tail_ptr + 1           ; 34
  inc tail_bank              ; 39
  finish 39

fit_in_page $3A
; One chunk less; at the end the sample restarts or stops.
job_count:
  lda chunks                 ; 3
  sec                        ; 5
  sbc #1                     ; 7
  sta chunks                 ; 10
  lda chunks + 1             ; 13
  sbc #0                     ; 15
  sta chunks + 1             ; 18
  ora chunks                 ; 21
  beq @ended                 ; 23 / 24
  same_page @ended
  finish 23
@ended:
  lda looping                ; 27
  beq @stop                  ; 29 / 30
  same_page @stop
  jsr restart                ; 129
  finish 129
@stop:
  jsr stop                   ; 71
  finish 71

fit_in_page $54
; A decoded sample value that differs from the last one seen, if not 0,
; starts sample value - 1: tmp = its entry, starting = 1.
job_trigger:
  lda val + F_SAMPLE         ; 3
  cmp last_sample            ; 6
  bne @changed               ; 8 / 9
  same_page @changed
  lda #0                     ; 10
  sta starting               ; 13
  finish 13
@changed:
  sta last_sample            ; 12
  tax                        ; 14
  bne @start                 ; 16 / 17
  same_page @start
  stx starting               ; 19
  finish 19
@start:
  dex                        ; 19
  stx tmp                    ; 22
  lda #0                     ; 24
  asl tmp                    ; 29
  rol a                      ; 31
  asl tmp                    ; 36
  rol a                      ; 38
  asl tmp                    ; 43
  rol a                      ; 45
  sta tmp + 1                ; 48
  lda tmp                    ; 51
  clc                        ; 53
  adc sample_table           ; 56
  sta tmp                    ; 59
  lda tmp + 1                ; 62
  adc sample_table + 1       ; 65
  sta tmp + 1                ; 68
  lda #1                     ; 70
  sta starting               ; 73
  finish 73

fit_in_page $4A
; Entries are 8-aligned, so (tmp),y never crosses a page.
job_load_entry:
  lda starting               ; 3
  bne @load                  ; 5 / 6
  same_page @load
  finish 5
@load:
  .repeat 8, i
    ldy #i                   ; +2
    lda (tmp),y              ; +5
    sta entry + i            ; +3
  .endrepeat                 ; 86
  finish 86

fit_in_page $1E
job_start_sample:
  lda starting               ; 3
  bne @start                 ; 5 / 6
  same_page @start
  finish 5
@start:
  jsr restart                ; 106
  finish 106

; Y = first position (a multiple of 8). Main parts lie on 128-byte
; boundaries, so (main_ptr),y never crosses a page.
job_copy_main:
  lda main_bank              ; 3
  sta BANK_SAMPLE            ; 7
  .repeat 8
    lda (main_ptr),y         ; +5
    sta OUTBUF,y             ; +5
    iny                      ; +2
  .endrepeat                 ; 103
  finish 103

; Y = first position of the tail part (a multiple of 7). No tail part
; crosses a page.
job_copy_tail:
  lda tail_bank              ; 3
  sta BANK_SAMPLE            ; 7
  .repeat 7
    lda (tail_ptr),y         ; +5
    sta OUTBUF + MAIN_PART,y ; +5
    iny                      ; +2
  .endrepeat                 ; 91
  finish 91

; Pulse registers: $4003/$4007 only when the high byte changed, so the
; phase is not reset by a repeated write.
.macro pulse_writes channel
  .local same
  ldx val + 3 * channel + 2              ; 3
  lda duty_volume,x                      ; 7
  sta $4000 + 4 * channel                ; 11
  lda val + 3 * channel + 1              ; 14
  sta $4002 + 4 * channel                ; 18
  lda val + 3 * channel                  ; 21
  cmp hi_cache + channel                 ; 24
  beq same                               ; 26 / 27
  same_page same
  sta $4003 + 4 * channel                ; 30
  sta hi_cache + channel                 ; 33
  finish 33
same:
  finish 27
.endmacro

fit_in_page $30
job_write_pulse1:
  pulse_writes 0
fit_in_page $30
job_write_pulse2:
  pulse_writes 1

job_write_triangle:
  lda val + F_TRI_HIGH       ; 3
  sta $400B                  ; 7
  lda val + F_TRI_LOW        ; 10
  sta $400A                  ; 14
  ldx val + F_TRI_ON         ; 17
  lda triangle_on,x          ; 21
  sta $4008                  ; 25
  finish 25

job_write_noise:
  lda val + F_NOISE_VOL      ; 3
  ora #$30                   ; 5
  sta $400C                  ; 9
  ldx val + F_NOISE_MODE     ; 12
  lda noise_mode_period,x    ; 16
  sta $400E                  ; 20
  lda #0                     ; 22
  sta $400F                  ; 26
  finish 26

; ---- the schedule: one job per slot ----

slot_count .set 0
.macro job routine, argument
  .ident(.sprintf("slot_job_%d", slot_count)) = routine
  .ident(.sprintf("slot_arg_%d", slot_count)) = argument
  slot_count .set slot_count + 1
.endmacro

.macro field index, width
  job job_flag, 0
  .repeat (width) / 2
    job job_bits2, 0
  .endrepeat
  .if (width) .mod 2
    job job_bits1, 0
  .endif
  job job_store, index
.endmacro

.macro pulse_decode channel
  job job_select, channel
  field 3 * channel, 3
  field 3 * channel + 1, 8
  field 3 * channel + 2, 6
  job job_deselect, channel
.endmacro

job job_pattern_step, 0
.repeat CHANNELS, c
  job job_pattern_load, c
.endrepeat
job job_order_advance, 0
; The sample channel first: its chunk must be copied before slot 48.
job job_select, PCM
field F_SAMPLE, 8
job job_deselect, PCM
job job_advance_main, 0
job job_advance_tail, 0
job job_count, 0
job job_trigger, 0
job job_load_entry, 0
job job_start_sample, 0
first_main_copy = slot_count
.repeat MAIN_PART / 8, i
  job job_copy_main, i * 8
.endrepeat
.assert first_main_copy >= MAIN_PART - 1 - DAC_SHIFT, error, "main copy overwrites bytes not yet played"
.assert first_main_copy <= SLOTS - DAC_SHIFT - 1, error, "main copy too late"
pulse_decode 0
pulse_decode 1
job job_select, 2
field F_TRI_HIGH, 3
field F_TRI_LOW, 8
job job_on_bit, 0
job job_deselect, 2
job job_select, 3
field F_NOISE_MODE, 5
field F_NOISE_VOL, 4
job job_deselect, 3
job job_write_pulse1, 0
job job_write_pulse2, 0
job job_write_triangle, 0
job job_write_noise, 0
first_tail_copy = slot_count
.repeat TAIL_PART / 7, i
  job job_copy_tail, i * 7
.endrepeat
.assert first_tail_copy >= SLOTS - DAC_SHIFT - 1, error, "tail copy overwrites bytes not yet played"
.repeat SLOTS - 1 - slot_count
  job job_idle, 0
.endrepeat
job job_end_tick, 0
.assert slot_count = SLOTS, error, "schedule is not one tick long"

; ---- slot tables, page-aligned so indexing never crosses a page ----

.res (256 - (* & $FF)) & $FF
job_low:
  .repeat SLOTS, i
    .byte <(.ident(.sprintf("slot_job_%d", i)) - 1)
  .endrepeat
.res (256 - (* & $FF)) & $FF
job_high:
  .repeat SLOTS, i
    .byte >(.ident(.sprintf("slot_job_%d", i)) - 1)
  .endrepeat
.res (256 - (* & $FF)) & $FF
job_arg:
  .repeat SLOTS, i
    .byte .ident(.sprintf("slot_arg_%d", i))
  .endrepeat
.res (256 - (* & $FF)) & $FF
dac_position:
  .repeat SLOTS, i
    .byte (i + DAC_SHIFT) .mod SLOTS
  .endrepeat
.res (256 - (* & $FF)) & $FF
; the 32 long slots, spread evenly over slots 0-154: the last slot has
; the tick's own extra cycle
slot_long:
  .repeat SLOTS, i
    .byte ((i + 1) * LONG_SLOTS / (SLOTS - 1)) - (i * LONG_SLOTS / (SLOTS - 1))
  .endrepeat
; duty*16+volume -> $4000: duty*64 + $30 (constant volume, halt) + volume
duty_volume:
  .repeat 64, i
    .byte ((i >> 4) << 6) | $30 | (i & 15)
  .endrepeat
triangle_on:
  .byte $00, $FF

; mode*16 + period index -> $400E: mode*128 + period index
noise_mode_period:
  .repeat 32, i
    .byte ((i >> 4) << 7) | (i & 15)
  .endrepeat

.assert >slot_long = >*, error, "tables cross a page"
.assert * <= $10000, error, "driver larger than 4 KB"
