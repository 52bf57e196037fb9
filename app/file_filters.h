// The file types each file command offers, first entry preselected, and the
// extension a typed name without one receives.
#pragma once

#include <span>
#include <string_view>

namespace qc {

struct FileType {
  std::string_view label;
  std::string_view pattern;  // "*.qcm", or "*.*" for every file
};

struct FileFilter {
  std::span<const FileType> types;
  std::string_view defaultExtension;  // without the dot
};

inline constexpr FileType kAllFiles{"All files (*.*)", "*.*"};

inline constexpr FileType kModuleTypes[] = {{"Quillchanter Modules (*.qcm)", "*.qcm"}, kAllFiles};
inline constexpr FileType kInstrumentTypes[] = {{"Quillchanter instruments (*.qci)", "*.qci"}, kAllFiles};
inline constexpr FileType kRecordingTypes[] = {
    {"Microsoft WAV (*.wav)", "*.wav"}, {"Ogg Vorbis (*.ogg)", "*.ogg"}, {"FLAC (*.flac)", "*.flac"}, kAllFiles};
inline constexpr FileType kOptimizedSampleTypes[] = {{"Quillchanter optimized samples (*.qcs)", "*.qcs"}, kAllFiles};
inline constexpr FileType kRomTypes[] = {{"Quillchanter iNES ROM (*.nes)", "*.nes"}, kAllFiles};
inline constexpr FileType kNsfTypes[] = {
    {"NES Sound Format (*.nsf)", "*.nsf"}, kAllFiles, {"NES Sound Format Extended (*.nsfe)", "*.nsfe"}};

inline constexpr FileFilter kModuleFilter{kModuleTypes, "qcm"};
inline constexpr FileFilter kInstrumentFilter{kInstrumentTypes, "qci"};
inline constexpr FileFilter kRecordingFilter{kRecordingTypes, "wav"};
inline constexpr FileFilter kOptimizedSamplesFilter{kOptimizedSampleTypes, "qcs"};
inline constexpr FileFilter kRomFilter{kRomTypes, "nes"};
inline constexpr FileFilter kNsfFilter{kNsfTypes, "nsf"};
// The audio export writes the types a recording is imported from.
inline constexpr FileFilter kAudioFilter = kRecordingFilter;

// Case-insensitive, as file types are on the systems the files travel to.
bool matchesPattern(std::string_view name, std::string_view pattern);

}  // namespace qc
