#include "fuzz/reader_harness.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sndfile.h>

#include <algorithm>

#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "samples/raw_sample_import.h"
#include "song/module_file.h"

namespace qc {

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

// libsndfile reads the fuzzer's bytes as a recording file.
struct MemoryRecording {
  std::span<const uint8_t> bytes;
  sf_count_t position = 0;
};

SF_VIRTUAL_IO memoryRecordingIo() {
  SF_VIRTUAL_IO io{};
  io.get_filelen = [](void* data) { return sf_count_t(static_cast<MemoryRecording*>(data)->bytes.size()); };
  io.seek = [](sf_count_t offset, int whence, void* data) {
    auto* m = static_cast<MemoryRecording*>(data);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->position : sf_count_t(m->bytes.size());
    m->position = std::clamp<sf_count_t>(base + offset, 0, sf_count_t(m->bytes.size()));
    return m->position;
  };
  io.read = [](void* out, sf_count_t count, void* data) {
    auto* m = static_cast<MemoryRecording*>(data);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, sf_count_t(m->bytes.size()) - m->position);
    std::copy_n(m->bytes.begin() + m->position, n, static_cast<uint8_t*>(out));
    m->position += n;
    return n;
  };
  io.write = [](const void*, sf_count_t, void*) { return sf_count_t(0); };
  io.tell = [](void* data) { return static_cast<MemoryRecording*>(data)->position; };
  return io;
}

// An accepted recording gives a bounded sample of valid DAC levels.
void importAsRecording(std::span<const uint8_t> bytes) {
  MemoryRecording recording{bytes};
  SF_VIRTUAL_IO io = memoryRecordingIo();
  SF_INFO info{};
  SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &recording);
  if (!file) return;
  app.editor.currentSample = 1;
  const bool imported = importOpenRecording(file, info, "fuzz.wav");
  sf_close(file);
  const std::vector<uint8_t>& levels = app.song.samples[1].data;
  if (imported && (levels.size() > kMaxSampleLength ||
                   std::any_of(levels.begin(), levels.end(), [](uint8_t v) { return v < 1 || v > 127; })))
    std::abort();
}

}  // namespace

void runReaderHarness(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  resetToProgramStart();
  checkModuleRoundTrip(bytes);
  checkInstrumentRoundTrip(bytes);
  loadThroughStream(bytes);
  importAsRecording(bytes);
}

}  // namespace qc
