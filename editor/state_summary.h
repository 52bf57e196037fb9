// The editor's settings in a few lines, for the top of the help overlay:
// what the status line reports only at the moment a setting changes.
#pragma once

#include <string>
#include <vector>

namespace qc {

std::vector<std::string> stateSummaryLines();

}  // namespace qc
