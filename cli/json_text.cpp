#include "cli/json_text.h"

#include <cstdint>
#include <cstdio>

namespace qc {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0.
size_t utf8SequenceLength(std::string_view text, size_t i) {
  const auto byteAt = [&](size_t k) { return uint8_t(text[k]); };
  const uint8_t lead = byteAt(i);
  size_t length;
  uint32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  uint32_t codePoint = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byteAt(i + k) & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (byteAt(i + k) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

void appendEscape(std::string& out, unsigned codeUnit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", codeUnit);
  out += escape;
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const uint8_t c = uint8_t(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c == 0x7F) {
      appendEscape(out, c);
    } else if (c >= 0x80) {
      const size_t length = utf8SequenceLength(text, i);
      if (length == 0) {
        appendEscape(out, c);
        ++i;
        continue;
      }
      out.append(text.substr(i, length));
      i += length;
      continue;
    } else {
      out += char(c);
    }
    ++i;
  }
  return out + "\"";
}

}  // namespace qc
