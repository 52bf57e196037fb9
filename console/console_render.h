// Plays an exported file on the console through the editor's chip
// emulation, into 44100 Hz mono samples, so a user hears what a console
// would play: an NSF file's first song, a cartridge image from reset.
//
// Length: `seconds` when it is above 0. Otherwise until the loop: for an NSF
// file that carries our driver's tables, the ticks of its order passes; for
// a cartridge, the first frame on which the player enters an order at a row
// it entered before (read from the player's RAM), and that frame played out.
// A file that jams the CPU (an undocumented opcode, as after a bad jump) or
// shows no loop within capSeconds is stopped there, with a note.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qc {

// Takes each slice of samples; false stops the render (a write failed).
using SampleSink = std::function<bool(const std::vector<int16_t>&)>;

struct ConsoleRenderResult {
  std::string error;  // the file is no file this console plays; nothing was rendered
  std::string note;   // why the render stopped early, when it did
  bool sinkFailed = false;
  double seconds = 0;  // rendered
};

ConsoleRenderResult renderNsfFile(const std::vector<uint8_t>& file, double seconds, double capSeconds,
                                  const SampleSink& sink);
ConsoleRenderResult renderCartridgeFile(const std::vector<uint8_t>& file, double seconds, double capSeconds,
                                        const SampleSink& sink);

// The cartridge player's zero page: where it keeps the order and row playing.
inline constexpr uint16_t kCartPlayOrderAddress = 0x1E;
inline constexpr uint16_t kCartPlayRowAddress = 0x1F;

}  // namespace qc
