#include "playback/multi_buffer.h"

bool Multi_Buffer::setChannelCount(int32_t) { return true; }
