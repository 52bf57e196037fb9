// Writes what is generated from the key table and the command list:
//   make_docs PROGRAM OUTDIR
// OUTDIR/keys.md (docs/keys.md), OUTDIR/key_guide.md (the README's short
// guide) and OUTDIR/quillchanter.1, whose commands are PROGRAM --help's.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/key_reference.h"

namespace qc {

namespace {

// Text as roff shows it: backslashes, hyphens, and a leading dot or quote.
std::string roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string programOutput(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  return pclose(pipe) == 0 ? text : std::string();
}

// "usage: quillchanter X  what" and "       quillchanter X  what" lines,
// as a synopsis and its description (split at the first run of two spaces).
std::string commandsSection(const std::string& usage) {
  std::string out = ".SH COMMANDS\n";
  std::istringstream lines(usage);
  for (std::string line; std::getline(lines, line);) {
    const size_t start = line.find("quillchanter");
    if (start == std::string::npos) continue;
    line.erase(0, start);
    const size_t gap = line.find("  ");
    const size_t what = gap == std::string::npos ? std::string::npos : line.find_first_not_of(' ', gap);
    out += ".TP\n.B " + roff(line.substr(0, gap)) + "\n";
    out += (what == std::string::npos ? std::string("") : roff(line.substr(what))) + "\n";
  }
  return out;
}

std::string keysSection() {
  std::string out =
      ".SH KEYS\n"
      "Modifiers named Left work with the left key only. "
      "In the window, \\fB?\\fR or \\fBShift+F1\\fR shows this list, "
      "the focused panel's keys first, with the editor's current settings.\n";
  for (const ReferenceLine& line : referenceLines(KeyContext::Global)) {
    if (line.heading) {
      out += ".SS " + roff(line.key) + "\n";
    } else {
      out += ".TP\n.B " + roff(line.key) + "\n" + roff(line.action) + "\n";
    }
  }
  return out;
}

std::string manualPage(const std::string& usage) {
  return ".TH QUILLCHANTER 1 \"\" \"quillchanter " QC_VERSION "\" \"User Commands\"\n"
         ".SH NAME\nquillchanter \\- music tracker for the NES sound chip\n"
         ".SH SYNOPSIS\n.B quillchanter\n.RI [ MODULE ]\n.br\n.B quillchanter\n.I COMMAND\n.RI [ ARGUMENTS ]\n"
         ".SH DESCRIPTION\n"
         "Quillchanter edits one song for the 2A03 sound chip of the NES: two pulse channels, triangle, "
         "noise and raw 7\\-bit samples as a fifth track, heard live through an emulation of the chip. "
         "Without a command it opens the editor window, loading \\fIMODULE\\fR if one is named; "
         "a module dropped on the window opens too. "
         "The editor is driven from the keyboard (see \\fBKEYS\\fR); "
         "file commands ask for a path in a file chooser drawn in the window while the song plays on.\n" +
         commandsSection(usage) + keysSection() +
         ".SH FILES\n"
         ".TP\n.I *.qcm\nModules: the whole song (magic \\(lqQuillchanterTune\\(rq).\n"
         ".TP\n.I *.qci\nInstruments: a name and three envelopes (magic \\(lqQuillchanterInst\\(rq).\n"
         ".TP\n.I *.qcs\nOne raw sample as NES sample banks (written only).\n"
         ".TP\n.I *.nsf\\fR, \\fI*.nes\nExports: an NES Sound Format file and a VRC6 (mapper 24) cartridge image.\n"
         ".TP\n.I backup.qcm\nThe autosave, in the working directory.\n"
         ".TP\n.I user\\-background.bmp\n"
         "Beside the executable: a bitmap that replaces the built\\-in skin.\n"
         ".SH AUTOSAVE\n"
         "While the editor runs, the song is written to \\fIbackup.qcm\\fR in the working directory once a "
         "minute, without a message. Files are written to a temporary beside the target and renamed over it "
         "only when complete, so a failed save leaves the old file intact.\n"
         ".SH EXIT STATUS\n"
         "0 on success. A command exits with 1 after one line on standard error that names the file and what "
         "is wrong with it; the editor exits with 1 when it cannot open its window.\n";
}

bool write(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  return bool(file);
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_docs PROGRAM OUTDIR\n");
    return 1;
  }
  const std::string usage = programOutput("'" + std::string(argv[1]) + "' --help");
  const std::string dir = argv[2];
  if (usage.empty()) {
    std::fprintf(stderr, "make_docs: no command list from %s --help\n", argv[1]);
    return 1;
  }
  const bool written = write(dir + "/keys.md", keyReferenceMarkdown()) &&
                       write(dir + "/key_guide.md", keyGuideMarkdown()) &&
                       write(dir + "/quillchanter.1", manualPage(usage));
  return written ? 0 : 1;
}
