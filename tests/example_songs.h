// The songs bundled in examples/ (tools/make_demo_song.cpp and
// tools/make_example_songs.cpp write them).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "song/module_file.h"

namespace qc {

inline Song exampleSong(const std::string& name) {
  ParsedModule module;
  EXPECT_TRUE(readModuleFile(QC_EXAMPLES_DIR "/" + name, module)) << name;
  return module.song ? *module.song : Song{};
}

}  // namespace qc
