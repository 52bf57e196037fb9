#include "editor/key_bindings.h"

#include <cctype>

#include "editor/key_maps.h"

namespace qc {

namespace {

using enum KeyContext;
using enum ModNeed;

constexpr ModRule kShift{On, Any, Any};
constexpr ModRule kNoShift{Off, Any, Any};
constexpr ModRule kAlt{Any, Any, On};
constexpr ModRule kNoLeftAlt{Any, Any, NotLeft};
constexpr ModRule kLeftAltOnly{NotLeft, NotLeft, Left};
constexpr ModRule kLeftCtrl{Any, Left, Any};
constexpr ModRule kLeftCtrlNoLeftShift{NotLeft, Left, Any};
constexpr ModRule kPlainArrows{NotLeft, NotLeft, NotLeft};
constexpr ModRule kCtrlOnly{Off, On, Off};

constexpr KeyBinding kBindings[] = {
    {Help, kQuestionMark, 0, kAnyMods, "Show or hide this help", true},
    {Help, kKeyF1, 0, {On, Any, Off}, "Show or hide this help"},
    {Help, kKeyPageUp, kKeyPageDown, kAnyMods, "Previous/next page of this help"},
    {Help, kKeyEscape, 0, kAnyMods, "Close this help"},

    {Global, kKeyRCtrl, 0, kAnyMods, "Play the song from the order cursor", true},
    {Global, kKeyRShift, 0, kAnyMods, "Play the pattern from the cursor row", true},
    {Global, kKeyRAlt, 0, kAnyMods, "Play the pattern from the cursor row"},
    {Global, kKeySpace, 0, kAnyMods, "Stop playing; when stopped, edit mode on/off", true},
    {Global, kKeyEscape, 0, kNoShift, "Edit mode on/off", true},
    {Global, kKeyEscape, 0, kShift, "Quit"},
    {Global, kPianoKeys, 0, kPlain, "Play a note (edit mode off, or outside the pattern)"},
    {Global, kKeyF1, 0, kPlain, "Focus the pattern", true},
    {Global, kKeyF2, 0, kPlain, "Focus the instrument list (Return there names it)", true},
    {Global, kKeyF3, 0, kPlain, "Focus the order list", true},
    {Global, kKeyF4, 0, kPlain, "Focus the envelope editor of the instrument", true},
    {Global, kKeyF1, kKeyF2, kAlt, "Octave down/up", true},
    {Global, kKeyF3, kKeyF4, kAlt, "Previous/next instrument"},
    {Global, kKeyF5, kKeyF6, kPlain, "Step down/up: rows the cursor moves after an entry", true},
    {Global, kKeyF5, kKeyF6, kAlt, "Previous/next raw sample"},
    {Global, kKeyF7, 0, kPlain, "Strip unused raw samples"},
    {Global, kKeyF7, 0, kAlt, "Switch NTSC/PAL"},
    {Global, kKeyF8, 0, kPlain, "Raw sample looping on/off"},
    {Global, kKeyF9, 0, kPlain, "Slice the raw sample into two new ones"},
    {Global, kKeyF10, 0, kPlain, "Remove the raw sample"},
    {Global, kKeyF11, 0, kPlain, "Repeat block on/off"},
    {Global, kKeyF12, 0, kPlain, "Cursor follow on/off"},
    {Global, 'm', 0, kAlt, "Metronome on/off"},
    {Global, 'l', 0, kLeftAltOnly, "Open a module", true},
    {Global, 's', 0, kLeftAltOnly, "Save the module", true},
    {Global, 'l', 0, {NotLeft, Left, Left}, "Load an instrument into the current slot"},
    {Global, 's', 0, {NotLeft, Left, Left}, "Save the current instrument"},
    {Global, 'l', 0, {Left, Any, Left}, "Import a recording as the raw sample"},
    {Global, 's', 0, {Left, Left, Left}, "Save the raw sample as NES sample banks"},
    {Global, 's', 0, {Left, NotLeft, Left}, "Export an iNES ROM (VRC6 cartridge)"},
    {Global, 's', 0, {Left, Any, NotLeft}, "Export an NSF file"},
    {Global, 'w', 0, kLeftAltOnly, "Export the song as audio (WAV, FLAC, Ogg)"},
    {Global, kKeypadDigits, 0, kAnyMods, "Select instrument 0-9"},
    {Global, kKeyPadDivide, kKeyPadMultiply, kAnyMods, "Octave down/up"},
    {Global, kKeyPadMinus, kKeyPadPlus, kNoLeftAlt, "Previous/next instrument"},
    {Global, kKeyPadMinus, kKeyPadPlus, {Any, Any, Left}, "Previous/next raw sample"},
    {Global, kKeyPadPeriod, 0, kAnyMods, "Switch NTSC/PAL"},

    {UndoRedo, 'z', 0, kCtrlOnly, "Undo", true},
    {UndoRedo, 'y', 0, kCtrlOnly, "Redo", true},

    {Pattern, kPianoKeys, 0, kPlain, "Enter a note (edit mode; PCM track: the raw sample)", true},
    {Pattern, kHexDigitKeys, 0, kPlain, "Enter instrument, effect and parameter digits", true},
    {Pattern, kKeyReturn, 0, kPlain, "Enter a note off"},
    {Pattern, kKeyBackslash, 0, kPlain, "Enter a note off"},
    {Pattern, kKeyDelete, 0, kAnyMods, "Clear the note and instrument"},
    {Pattern, kKeyInsert, 0, kAnyMods, "Insert a row in the track"},
    {Pattern, kKeyBackspace, 0, kAnyMods, "Delete the row above, pulling the track up"},
    {Pattern, kKeyUp, kKeyDown, kPlainArrows, "Move the cursor"},
    {Pattern, kKeyLeft, kKeyRight, kNoLeftAlt, "Move the cursor"},
    {Pattern, kKeyPageUp, kKeyPageDown, kNoLeftAlt, "Move 16 rows"},
    {Pattern, kKeyHome, kKeyEnd, kNoLeftAlt, "First/last row"},
    {Pattern, kKeyTab, 0, kNoShift, "Next track", true},
    {Pattern, kKeyTab, 0, kShift, "Previous track"},
    {Pattern, kKeyUp, kKeyDown, {NotLeft, Any, Left}, "Mark a block (press Left Alt anew for a new one)", true},
    {Pattern, kKeyLeft, kKeyRight, {Any, Any, Left}, "Mark a block across tracks"},
    {Pattern, kKeyUp, kKeyDown, {NotLeft, Left, NotLeft}, "Mark the repeat block"},
    {Pattern, kKeyUp, kKeyDown, {Left, Any, Any}, "Transpose the block a semitone up/down"},
    {Pattern, 'c', 0, kLeftCtrl, "Copy the block", true},
    {Pattern, 'x', 0, kLeftCtrl, "Cut the block"},
    {Pattern, 'd', 0, kLeftCtrl, "Clear the block"},
    {Pattern, 'v', 0, kLeftCtrlNoLeftShift, "Paste at the cursor", true},
    {Pattern, 'v', 0, {Left, Left, Any}, "Paste over, keeping cells where the block is empty"},
    {Pattern, 'm', 0, kLeftCtrl, "Mute or unmute the track"},
    {Pattern, 's', 0, kLeftCtrl, "Solo the track; again: all tracks"},

    {OrderList, kKeyUp, kKeyDown, kAnyMods, "Previous/next entry"},
    {OrderList, kKeyPageUp, kKeyPageDown, kAnyMods, "Move 4 entries"},
    {OrderList, kKeyHome, kKeyEnd, kAnyMods, "First/last entry"},
    {OrderList, kKeyLeft, kKeyRight, kAnyMods, "Pattern number down/up"},
    {OrderList, kKeyInsert, 0, kAnyMods, "Duplicate the entry"},
    {OrderList, kKeyDelete, 0, kAnyMods, "Remove the entry"},
    {OrderList, kKeyBackspace, 0, kAnyMods, "Remove the entry above"},

    {Envelope, kKeyPageUp, kKeyPageDown, kAnyMods, "Previous/next envelope: Volume, Note, Duty/Mode"},
    {Envelope, kKeyLeft, kKeyRight, kNoShift, "Previous/next step"},
    {Envelope, kKeyHome, kKeyEnd, kNoShift, "First/last step"},
    {Envelope, kKeyLeft, kKeyRight, kShift, "Move the loop point"},
    {Envelope, kKeyHome, kKeyEnd, kShift, "Loop point to the first/last step"},
    {Envelope, kKeyUp, kKeyDown, kAnyMods, "Value up/down"},
    {Envelope, kKeyInsert, 0, kAnyMods, "Add a step (a copy of this one)", true},
    {Envelope, kKeyDelete, 0, kAnyMods, "Remove the step"},
    {Envelope, kKeyBackspace, 0, kAnyMods, "Remove the step before"},
    {Envelope, kKeyReturn, 0, kAnyMods, "Note envelope: relative or fixed note"},

    {InstrumentList, kKeyUp, kKeyDown, kAnyMods, "Previous/next instrument"},
    {InstrumentList, kKeyPageUp, kKeyPageDown, kAnyMods, "Move 4 instruments"},
    {InstrumentList, kKeyHome, kKeyEnd, kAnyMods, "First/last instrument"},
    {InstrumentList, kKeyReturn, 0, kAnyMods, "Name the instrument"},

    {InstrumentName, kTypedCharacters, 0, kAnyMods, "Type the name (30 characters at most)"},
    {InstrumentName, kKeyLeft, kKeyRight, kAnyMods, "Move the text cursor"},
    {InstrumentName, kKeyHome, kKeyEnd, kAnyMods, "Start/end of the name"},
    {InstrumentName, kKeyBackspace, kKeyDelete, kAnyMods, "Delete before/at the text cursor"},
    {InstrumentName, kKeyTab, 0, kAnyMods, "Insert four spaces"},
    {InstrumentName, kKeyReturn, 0, kAnyMods, "Done naming"},

    {FileChooser, kKeyUp, kKeyDown, kAnyMods, "Move"},
    {FileChooser, kKeyPageUp, kKeyPageDown, kAnyMods, "Move a page"},
    {FileChooser, kKeyHome, kKeyEnd, kAnyMods, "First/last entry"},
    {FileChooser, kKeyReturn, kKeyPadEnter, kAnyMods, "Open the folder, or take the file or typed name"},
    {FileChooser, kTypedCharacters, 0, {Any, Off, Off}, "Type a name: jumps to it in the list"},
    {FileChooser, kKeyBackspace, 0, kAnyMods, "Delete a typed character, or go up a folder"},
    {FileChooser, kKeyTab, 0, kAnyMods, "Show the next file type"},
    {FileChooser, kKeyEscape, 0, kAnyMods, "Cancel"},

    {Mouse, kMouseClick, 0, kAnyMods, "Pattern: cursor to that cell and focus the pattern", true},
    {Mouse, kMouseDrag, 0, kAnyMods, "Pattern: mark a block; past the top or bottom line it scrolls", true},
    {Mouse, kMouseWheel, 0, kAnyMods, "Pattern: cursor up/down by the step (one row at step 0)"},
    {Mouse, kMouseClick, 0, kAnyMods, "Track heading: mute or unmute the track"},
    {Mouse, kMouseRightClick, 0, kAnyMods, "Track heading: solo the track; again: all tracks"},
    {Mouse, kMouseClick, 0, kAnyMods, "Order list: select the entry and focus the list"},
    {Mouse, kMouseWheel, 0, kAnyMods, "Order list: previous/next entry"},
    {Mouse, kMouseClick, 0, kAnyMods, "Instrument list: select the instrument and focus the list"},
    {Mouse, kMouseWheel, 0, kAnyMods, "Instrument list: previous/next instrument"},
    {Mouse, kMouseClick, 0, kAnyMods, "Envelope editor: select the envelope and step"},
    {Mouse, kMouseWheel, 0, kAnyMods, "Envelope editor: previous/next step of the envelope under it"},
    {Mouse, kMouseClick, 0, kAnyMods, "File chooser: select the entry"},
    {Mouse, kMouseDoubleClick, 0, kAnyMods, "File chooser: open the file or folder"},
    {Mouse, kMouseWheel, 0, kAnyMods, "File chooser: scroll the list"},
};

bool needMet(ModNeed need, int32_t mod, int32_t left, int32_t right) {
  switch (need) {
    case Any: return true;
    case Off: return (mod & (left | right)) == 0;
    case On: return (mod & (left | right)) != 0;
    case Left: return (mod & left) != 0;
    case NotLeft: return (mod & left) == 0;
  }
  return false;
}

bool keyMatches(int32_t key, int32_t sym, uint16_t unicode) {
  switch (key) {
    case kPianoKeys: return pianoKeyOffset(sym).has_value();
    case kHexDigitKeys: return hexKeyValue(sym).has_value();
    case kKeypadDigits: return sym >= kKeyPad0 && sym <= kKeyPad9;
    case kTypedCharacters: return unicode >= 0x20 && unicode != 0x7F;
    case kQuestionMark: return unicode == '?';
    default: return key == sym;
  }
}

std::string keyName(int32_t key) {
  switch (key) {
    case kPianoKeys: return "Piano keys";
    case kHexDigitKeys: return "0-9, A-F";
    case kKeypadDigits: return "Keypad 0-9";
    case kTypedCharacters: return "Characters";
    case kQuestionMark: return "?";
    case kMouseClick: return "Click";
    case kMouseRightClick: return "Right click";
    case kMouseDoubleClick: return "Double click";
    case kMouseDrag: return "Drag";
    case kMouseWheel: return "Wheel";
    case kKeyBackspace: return "Backspace";
    case kKeyTab: return "Tab";
    case kKeyReturn: return "Return";
    case kKeyEscape: return "Escape";
    case kKeySpace: return "Space";
    case kKeyBackslash: return "\\";
    case kKeyDelete: return "Delete";
    case kKeyPadPeriod: return "Keypad .";
    case kKeyPadDivide: return "Keypad /";
    case kKeyPadMultiply: return "Keypad *";
    case kKeyPadMinus: return "Keypad -";
    case kKeyPadPlus: return "Keypad +";
    case kKeyPadEnter: return "Keypad Enter";
    case kKeyUp: return "Up";
    case kKeyDown: return "Down";
    case kKeyRight: return "Right";
    case kKeyLeft: return "Left";
    case kKeyInsert: return "Insert";
    case kKeyHome: return "Home";
    case kKeyEnd: return "End";
    case kKeyPageUp: return "Page Up";
    case kKeyPageDown: return "Page Down";
    case kKeyRShift: return "Right Shift";
    case kKeyRCtrl: return "Right Ctrl";
    case kKeyRAlt: return "Right Alt";
    default: break;
  }
  if (key >= kKeyF1 && key <= kKeyF12) return 'F' + std::to_string(key - kKeyF1 + 1);
  return std::string(1, char(std::toupper(key)));
}

void appendModifier(std::string& label, ModNeed need, const char* name) {
  if (need != On && need != Left) return;
  if (need == Left) label += "Left ";
  label += name;
  label += '+';
}

}  // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

const char* contextTitle(KeyContext context) {
  switch (context) {
    case Help: return "This help";
    case Global: return "Everywhere";
    case Pattern: return "Pattern (F1)";
    case OrderList: return "Order list (F3)";
    case Envelope: return "Envelope editor (F4)";
    case InstrumentList: return "Instrument list (F2)";
    case InstrumentName: return "Naming an instrument (Return in the list)";
    case FileChooser: return "File chooser";
    case UndoRedo: return "Undo";
    case Mouse: return "Mouse";
  }
  return "";
}

std::string keyLabel(const KeyBinding& b) {
  std::string label;
  appendModifier(label, b.mods.ctrl, "Ctrl");
  appendModifier(label, b.mods.shift, "Shift");
  appendModifier(label, b.mods.alt, "Alt");
  label += keyName(b.key);
  if (b.pairedKey != 0) {
    // "Up/Down", but "Keypad - and +"
    std::string paired = keyName(b.pairedKey);
    const bool word = std::isalnum(uint8_t(label.back()));
    if (!word && paired.starts_with("Keypad ")) paired.erase(0, 7);
    label += word ? "/" : " and ";
    label += paired;
  }
  return label;
}

bool bindingMatches(const KeyBinding& b, int32_t sym, int32_t mod, uint16_t unicode) {
  return (keyMatches(b.key, sym, unicode) || (b.pairedKey != 0 && keyMatches(b.pairedKey, sym, unicode))) &&
         needMet(b.mods.shift, mod, kModLShift, kModRShift) && needMet(b.mods.ctrl, mod, kModLCtrl, kModRCtrl) &&
         needMet(b.mods.alt, mod, kModLAlt, kModRAlt);
}

}  // namespace qc
