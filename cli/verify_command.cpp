#include "cli/verify_command.h"

#include <cstdio>
#include <string>

#include "cli/command_support.h"
#include "console/cartridge_verification.h"
#include "console/nsf_verification.h"
#include "console/reference_ticks.h"
#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "playback/song_length.h"
#include "song/module_file.h"

namespace qc {

namespace {

constexpr const char* kUsage = "--verify MODULE";
// Past the loop point: enough to see the jump back and the rows after it.
constexpr size_t kTicksPastTheLoop = 64;
// The cartridge runs at up to 60 frames a second on an NTSC console.
constexpr int kConsoleFramesPerSecond = 60;

VerificationResult verifyNsfExport(const Song& song) {
  const std::optional<NsfReference> reference = nsfReference(song);
  if (!reference) return {false, "nsf: the song cannot be exported as NSF"};
  return verifyNsf(*reference, song.samples, song.ntsc, kTicksPastTheLoop);
}

// After a match, adds how the cartridge means to sound unlike the editor.
VerificationResult verifyCartridgeExport(const Song& song) {
  const bool pal = !song.ntsc;
  const RomImage image = buildRomImage(song, kCartPlayerImage, kCartCharacterRom);
  if (image.bytes.empty()) return {false, "nes: the song cannot be exported as iNES: " + image.error};
  const auto reference =
      cartridgeReference(song, pal, int(kTicksPastTheLoop), kRenderCapSeconds * kConsoleFramesPerSecond);
  if (!reference)
    return {false, "nes: no loop point within " + std::to_string(kRenderCapSeconds / 60) + " minutes"};
  VerificationResult result = verifyCartridge(image.bytes, *reference, song.samples, pal);
  if (result.equal)
    for (const std::string& line : cartridgeDesignDifferences(*reference, song.samples, pal)) result.line += "\n" + line;
  return result;
}

}  // namespace

int runVerify(int argc, char** argv) {
  if (argc != 2) return usageError(kUsage);
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  const VerificationResult nsf = verifyNsfExport(*module.song);
  std::printf("%s\n", nsf.line.c_str());
  const VerificationResult nes = verifyCartridgeExport(*module.song);
  std::printf("%s\n", nes.line.c_str());
  return nsf.equal && nes.equal ? 0 : 1;
}

}  // namespace qc
