// Why a file was not read, for the command line's one-line diagnostics.
// The editor only needs the true/false result of each reader.
#pragma once

#include <string>

namespace qc {

enum class ReadProblem {
  kNone,
  kCannotOpen,          // detail: the system's reason
  kNotAFile,            // a FIFO, a device or a socket: never opened, it could block
  kWrongMagic,          // detail: what the file should have been ("a module")
  kUnsupportedVersion,  // detail: the version number
  kDamaged,             // detail: the record and what is wrong with it
};

struct ReadReport {
  ReadProblem problem = ReadProblem::kNone;
  std::string detail;
  int openError = 0;  // errno of a failed open

  // "not found", "not a module", "unsupported version 7",
  // "damaged at instrument 3: Note envelope of 90 values (at most 83)", ...
  std::string describe() const;
};

// Records a problem when the caller asked for a report; returns false so a
// reader can write `return reject(report, ...)`.
bool reject(ReadReport* report, ReadProblem problem, std::string detail = {});

}  // namespace qc
