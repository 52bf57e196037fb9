// Every key the editor acts on, as data: the help overlay, `--keys`, the
// manual page and the README are written from this table, and a test drives
// every key through the handlers to hold the two equal.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "editor/key_codes.h"

namespace qc {

enum class KeyContext {
  Help,
  Global,
  UndoRedo,
  Pattern,
  OrderList,
  Envelope,
  InstrumentList,
  InstrumentName,  // the instrument list while a name is typed
  FileChooser,
  Mouse,  // not keys, but the same reference lists them
};

// What one modifier must be: either side counts for On, only the left one for Left.
enum class ModNeed : uint8_t { Any, Off, On, Left, NotLeft };

struct ModRule {
  ModNeed shift = ModNeed::Any;
  ModNeed ctrl = ModNeed::Any;
  ModNeed alt = ModNeed::Any;
};

inline constexpr ModRule kPlain{ModNeed::Off, ModNeed::Off, ModNeed::Off};
inline constexpr ModRule kAnyMods{};

// Key groups, below every SDL key symbol.
inline constexpr int32_t kPianoKeys = -1;
inline constexpr int32_t kHexDigitKeys = -2;
inline constexpr int32_t kKeypadDigits = -3;
inline constexpr int32_t kTypedCharacters = -4;  // printable characters, by their translation
inline constexpr int32_t kQuestionMark = -5;     // '?' by its translation, whatever the layout
inline constexpr int32_t kMouseClick = -6;
inline constexpr int32_t kMouseRightClick = -7;
inline constexpr int32_t kMouseDoubleClick = -8;
inline constexpr int32_t kMouseDrag = -9;
inline constexpr int32_t kMouseWheel = -10;

struct KeyBinding {
  KeyContext context;
  int32_t key;  // SDL 1.2 key symbol or a key group
  int32_t pairedKey;  // 0, or a second key shown as "key/pairedKey" doing the mirror action
  ModRule mods;
  const char* action;
  bool basic = false;  // also in the README's short guide
};

std::span<const KeyBinding> keyBindings();

const char* contextTitle(KeyContext context);
// "Left Ctrl+Left Alt+L", "Shift+F1", "Up/Down", "Piano keys".
std::string keyLabel(const KeyBinding& binding);
bool bindingMatches(const KeyBinding& binding, int32_t sym, int32_t mod, uint16_t unicode);

}  // namespace qc
