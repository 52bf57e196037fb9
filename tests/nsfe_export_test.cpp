// The NSFe export, read by Game Music Emu.
#include <gme/gme.h>
#include <gtest/gtest.h>

#include <string>

#include "export/audio_export.h"
#include "export/nsf_export.h"
#include "tests/example_songs.h"
#include "tests/gme_render.h"

namespace qc {

namespace {

TEST(NsfeExport, GameMusicEmuReadsTheNamesTheRendersLengthAndPlaysTheNsf) {
  Song song = exampleSong("demo.qcm");
  song.instrumentNames[3] = "";
  const std::optional<std::vector<uint8_t>> nsfe = compileNsfe(song), nsf = compileNsf(song);
  ASSERT_TRUE(nsfe && nsf);

  Music_Emu* emu = nullptr;
  ASSERT_EQ(gme_open_data(nsfe->data(), long(nsfe->size()), &emu, kGmeRate), nullptr);
  gme_info_t* info = nullptr;
  ASSERT_EQ(gme_track_info(emu, &info, 0), nullptr);
  const double rendered = double(planAudioExport(song, {.loops = 1}).samples) / 44100 * 1000;
  EXPECT_NEAR(info->play_length, rendered, 20);
  EXPECT_EQ(std::string(info->song), song.instrumentNames[1]);
  EXPECT_EQ(std::string(info->author), song.instrumentNames[2]);
  EXPECT_EQ(std::string(info->copyright), "");  // gme reads the header's "<?>" as no name
  gme_free_info(info);
  gme_delete(emu);

  EXPECT_EQ(renderWithGme(*nsfe, 1.5), renderWithGme(*nsf, 1.5));
}

}  // namespace

}  // namespace qc
