#include "export/rom_name_line.h"

#include "song/song.h"

namespace qc {

uint8_t nameCharacterTile(char c) {
  if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (c == '|') c = '[';
  else if (c == '_') c = ']';
  else if (c != '\\' && (c < ' ' || c > 'Z')) c = ' ';
  return uint8_t(uint8_t(c) - kTileOffset);
}

std::array<uint8_t, kNameLineWidth> instrumentNameLine(const std::string& name) {
  std::array<uint8_t, kNameLineWidth> line;
  line.fill(nameCharacterTile(' '));
  for (size_t i = 0; i < name.size() && i < size_t(kMaxNameLength); ++i)
    line[1 + i] = nameCharacterTile(name[i]);
  return line;
}

}  // namespace qc
