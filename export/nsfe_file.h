// The NSF as an NSFe file: the same program and data in chunks, with the
// track's length and fade, which NSF players otherwise have to guess.
//
// Each chunk: its data length (32 bits), a four-character id, the data. All
// numbers are little-endian.
#pragma once

#include <cstdint>
#include <vector>

namespace qc {

struct NsfeTiming {
  int32_t lengthMs = 0;  // the intro and one loop
  int32_t fadeMs = 0;
};

// "NSFE", then INFO (addresses, video standard, chips, song count and first
// song), BANK (the NSF's bank values), DATA (the NSF after its header), auth
// (title, artist, copyright), tlbl (the title), time, fade and NEND. The
// names are the NSF header's.
std::vector<uint8_t> buildNsfeFile(const std::vector<uint8_t>& nsf, const NsfeTiming& timing);

}  // namespace qc
