#include "song/read_report.h"

#include <cerrno>
#include <cstring>

namespace qc {

std::string ReadReport::describe() const {
  switch (problem) {
    case ReadProblem::kNone:
      return "ok";
    case ReadProblem::kCannotOpen:
      if (openError == ENOENT) return "not found";
      if (openError == EISDIR) return "is a folder, not a file";
      return "cannot open: " + std::string(std::strerror(openError));
    case ReadProblem::kNotAFile:
      return "not a regular file";
    case ReadProblem::kWrongMagic:
      return "not " + detail;
    case ReadProblem::kUnsupportedVersion:
      return "unsupported version " + detail;
    case ReadProblem::kDamaged:
      return "damaged at " + detail;
  }
  return "unreadable";
}

bool reject(ReadReport* report, ReadProblem problem, std::string detail) {
  if (report) {
    report->problem = problem;
    report->detail = std::move(detail);
  }
  return false;
}

}  // namespace qc
