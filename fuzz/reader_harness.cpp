#include "fuzz/reader_harness.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"

namespace {

void checkModuleRoundTrip(std::span<const uint8_t> bytes) {
  ParsedModule first;
  if (!parseModule(bytes, first)) return;
  // Whatever the reader accepts, the cartridge export lays out as its header says.
  const RomImage rom = buildRomImage(*first.song, kCartPlayerImage, kCartCharacterRom);
  if (!rom.bytes.empty() &&
      rom.bytes.size() != size_t(kInesHeaderSize + rom.bytes[4] * kPrgBankSize + kCartImageSize))
    std::abort();
  const Bytes written = encodeModule(*first.song);
  ParsedModule second;
  if (!parseModule(written, second) || encodeModule(*second.song) != written) std::abort();
}

void checkInstrumentRoundTrip(std::span<const uint8_t> bytes) {
  app.editor.currentInstrument = 1;
  if (!loadInstrumentBytes(bytes)) return;
  const Bytes written = encodeInstrument(app.song, 1);
  app.editor.currentInstrument = 2;
  if (!loadInstrumentBytes(written) || encodeInstrument(app.song, 2) != written) std::abort();
}

// The editor's path: the stream reader installing the song in the app.
void loadThroughStream(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());
  copy.push_back(0);  // fmemopen wants a nonempty buffer; the extra byte is skipped
  std::FILE* file = fmemopen(copy.data(), bytes.empty() ? 1 : bytes.size(), "rb");
  if (!file) std::abort();
  if (bytes.empty()) std::fseek(file, 1, SEEK_SET);
  const Bytes before = encodeModule(app.song);
  if (!loadModule(file) && encodeModule(app.song) != before) std::abort();
}

}  // namespace

void runReaderHarness(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  resetToProgramStart();
  checkModuleRoundTrip(bytes);
  checkInstrumentRoundTrip(bytes);
  loadThroughStream(bytes);
}
