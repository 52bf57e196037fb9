// Runs the batch command line in-process and captures what it prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

namespace qc {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

inline CliResult runCli(std::vector<std::string> args) {
  args.insert(args.begin(), "quillchanter");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = runCommandLine(int(argv.size()), argv.data());
  std::string out = testing::internal::GetCapturedStdout();
  return {status, out, testing::internal::GetCapturedStderr()};
}

}  // namespace qc
