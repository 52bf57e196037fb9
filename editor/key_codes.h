// SDL 1.2 key symbols and modifier bits, so the editor needs no SDL header.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int32_t kKeyBackspace = 8;
inline constexpr int32_t kKeyTab = 9;
inline constexpr int32_t kKeyReturn = 13;
inline constexpr int32_t kKeyEscape = 27;
inline constexpr int32_t kKeySpace = 32;
inline constexpr int32_t kKeyBackslash = 92;
inline constexpr int32_t kKeyDelete = 127;
inline constexpr int32_t kKeyPad0 = 256;  // keypad 0..9 are 256..265
inline constexpr int32_t kKeyPad9 = 265;
inline constexpr int32_t kKeyPadPeriod = 266;
inline constexpr int32_t kKeyPadDivide = 267;
inline constexpr int32_t kKeyPadMultiply = 268;
inline constexpr int32_t kKeyPadMinus = 269;
inline constexpr int32_t kKeyPadPlus = 270;
inline constexpr int32_t kKeyPadEnter = 271;
inline constexpr int32_t kKeyUp = 273;
inline constexpr int32_t kKeyDown = 274;
inline constexpr int32_t kKeyRight = 275;
inline constexpr int32_t kKeyLeft = 276;
inline constexpr int32_t kKeyInsert = 277;
inline constexpr int32_t kKeyHome = 278;
inline constexpr int32_t kKeyEnd = 279;
inline constexpr int32_t kKeyPageUp = 280;
inline constexpr int32_t kKeyPageDown = 281;
inline constexpr int32_t kKeyF1 = 282;  // F1..F12 are 282..293
inline constexpr int32_t kKeyF2 = 283;
inline constexpr int32_t kKeyF3 = 284;
inline constexpr int32_t kKeyF4 = 285;
inline constexpr int32_t kKeyF5 = 286;
inline constexpr int32_t kKeyF6 = 287;
inline constexpr int32_t kKeyF7 = 288;
inline constexpr int32_t kKeyF8 = 289;
inline constexpr int32_t kKeyF9 = 290;
inline constexpr int32_t kKeyF10 = 291;
inline constexpr int32_t kKeyF11 = 292;
inline constexpr int32_t kKeyF12 = 293;
inline constexpr int32_t kKeyRShift = 303;
inline constexpr int32_t kKeyRCtrl = 305;
inline constexpr int32_t kKeyLCtrl = 306;
inline constexpr int32_t kKeyRAlt = 307;
inline constexpr int32_t kKeyLAlt = 308;

inline constexpr int32_t kModLShift = 0x0001;
inline constexpr int32_t kModRShift = 0x0002;
inline constexpr int32_t kModLCtrl = 0x0040;
inline constexpr int32_t kModRCtrl = 0x0080;
inline constexpr int32_t kModLAlt = 0x0100;
inline constexpr int32_t kModRAlt = 0x0200;
inline constexpr int32_t kModShift = kModLShift | kModRShift;
inline constexpr int32_t kModCtrl = kModLCtrl | kModRCtrl;
inline constexpr int32_t kModAlt = kModLAlt | kModRAlt;

// No Shift, Ctrl or Alt on either side.
inline bool isPlain(int32_t mod) { return (mod & (kModShift | kModCtrl | kModAlt)) == 0; }
inline bool hasAlt(int32_t mod) { return (mod & kModAlt) != 0; }
inline bool hasShift(int32_t mod) { return (mod & kModShift) != 0; }
inline bool hasLShift(int32_t mod) { return (mod & kModLShift) != 0; }
inline bool hasLCtrl(int32_t mod) { return (mod & kModLCtrl) != 0; }
inline bool hasLAlt(int32_t mod) { return (mod & kModLAlt) != 0; }

}  // namespace qc
