#include "cli/info_command.h"

#include <cstdio>
#include <string>

#include "cli/json_text.h"
#include "cli/command_support.h"

namespace qc {

namespace {

std::string envelopeJson(const Envelope& envelope) {
  std::string out = "{\"loop\": " + std::to_string(envelope.loop) + ", \"values\": [";
  const int length = envelopeLength(envelope);
  for (int i = 0; i < length; ++i) out += (i ? ", " : "") + std::to_string(envelope.values[i]);
  return out + "]}";
}

std::string moduleJson(const Song& song) {
  std::string out = "{\"ntsc\": ";
  out += song.ntsc ? "true" : "false";
  out += ", \"orderCount\": " + std::to_string(song.orderCount) + ", \"orders\": [";
  for (int i = 0; i < song.orderCount; ++i) out += (i ? ", " : "") + std::to_string(song.orders[i]);
  out += "], \"usedPatterns\": " + std::to_string(usedPatternCount(song)) + ", \"instruments\": [";
  for (int slot = 1; slot < kInstrumentSlots; ++slot) {
    const auto& envelopes = song.envelopes[slot];
    out += std::string(slot > 1 ? ", " : "") + "{\"slot\": " + std::to_string(slot) +
           ", \"name\": " + jsonString(song.instrumentNames[slot]) +
           ", \"volume\": " + envelopeJson(envelopes[kVolumeEnvelope]) +
           ", \"note\": " + envelopeJson(envelopes[kNoteEnvelope]) +
           ", \"duty\": " + envelopeJson(envelopes[kDutyEnvelope]) + "}";
  }
  out += "], \"samples\": [";
  bool first = true;
  for (int slot = 1; slot < kSampleSlots; ++slot) {
    const RawSample& sample = song.samples[slot];
    if (!sample.holdsData()) continue;
    out += std::string(first ? "" : ", ") + "{\"slot\": " + std::to_string(slot) +
           ", \"name\": " + jsonString(sample.name) + ", \"length\": " + std::to_string(sample.length()) +
           ", \"loop\": " + (sample.loop ? "true" : "false") + "}";
    first = false;
  }
  return out + "]}";
}

}  // namespace

int runInfo(int argc, char** argv) {
  if (argc != 2) return usageError("--info MODULE");
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  std::printf("%s\n", moduleJson(*module.song).c_str());
  return finishStandardOutput();
}

}  // namespace qc
