#include "playback/multi_buffer.h"

namespace qc {

bool Multi_Buffer::setChannelCount(int32_t) { return true; }

}  // namespace qc
