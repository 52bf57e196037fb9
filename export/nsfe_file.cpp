#include "export/nsfe_file.h"

#include <cstring>
#include <string>

#include "export/nsf_layout.h"

namespace qc {

namespace {

// NSF header fields that INFO and BANK carry over.
constexpr size_t kNsfSongCount = 6;
constexpr size_t kNsfFirstSong = 7;
constexpr size_t kNsfAddresses = 8;  // load, init and play, 16 bits each
constexpr size_t kNsfAddressBytes = 6;
constexpr size_t kNsfBankValues = 112;
constexpr size_t kNsfBankBytes = 8;
constexpr size_t kNsfExtraChips = 123;

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char (&id)[5], const std::vector<uint8_t>& data) {
  put32(out, uint32_t(data.size()));
  out.insert(out.end(), id, id + 4);
  out.insert(out.end(), data.begin(), data.end());
}

// A zero-terminated name field of the header, with its zero.
std::vector<uint8_t> nameAt(const std::vector<uint8_t>& nsf, size_t offset) {
  const char* field = reinterpret_cast<const char*>(&nsf[offset]);
  const size_t length = strnlen(field, kNsfNameBytes - 1);
  std::vector<uint8_t> name(field, field + length);
  name.push_back(0);
  return name;
}

std::vector<uint8_t> bytes32(int32_t value) {
  std::vector<uint8_t> out;
  put32(out, uint32_t(value));
  return out;
}

}  // namespace

std::vector<uint8_t> buildNsfeFile(const std::vector<uint8_t>& nsf, const NsfeTiming& timing) {
  std::vector<uint8_t> out = {'N', 'S', 'F', 'E'};
  std::vector<uint8_t> info(nsf.begin() + kNsfAddresses, nsf.begin() + kNsfAddresses + kNsfAddressBytes);
  info.push_back(nsf[kNsfPalOffset]);
  info.push_back(nsf[kNsfExtraChips]);
  info.push_back(nsf[kNsfSongCount]);
  info.push_back(uint8_t(nsf[kNsfFirstSong] - 1));  // 0-based here
  putChunk(out, "INFO", info);
  putChunk(out, "BANK", {nsf.begin() + kNsfBankValues, nsf.begin() + kNsfBankValues + kNsfBankBytes});
  putChunk(out, "DATA", {nsf.begin() + kNsfHeaderBytes, nsf.end()});
  std::vector<uint8_t> names;
  for (int field = 0; field < 3; ++field) {
    const std::vector<uint8_t> name = nameAt(nsf, kNsfTitleOffset + size_t(field) * kNsfNameBytes);
    names.insert(names.end(), name.begin(), name.end());
  }
  putChunk(out, "auth", names);
  putChunk(out, "tlbl", nameAt(nsf, kNsfTitleOffset));
  putChunk(out, "time", bytes32(timing.lengthMs));
  putChunk(out, "fade", bytes32(timing.fadeMs));
  putChunk(out, "NEND", {});
  return out;
}

}  // namespace qc
