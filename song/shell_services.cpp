#include "song/shell_services.h"

#include <chrono>
#include <mutex>

namespace qc {

namespace {

std::recursive_mutex audioMutex;  // SDL's audio lock is recursive as well

uint32_t steadyTicks() {
  using namespace std::chrono;
  return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

ShellServices shell = {
    steadyTicks,
    [] { audioMutex.lock(); },
    [] { audioMutex.unlock(); },
    [](bool) {},
};

}  // namespace qc
