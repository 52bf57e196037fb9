// Xvfb on a free display for the tests that need a real X server.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace qc {

// An X server of our own on a free display, or none if Xvfb cannot start.
class PrivateXServer {
 public:
  PrivateXServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      const std::string fd = std::to_string(fds[1]);
      // -noreset: a server reset would announce the display again, into a closed pipe.
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "800x600x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The number and its newline come in two writes; the pipe stays open till both are in.
    std::string announced;
    pollfd ready{fds[0], POLLIN, 0};
    char chunk[16];
    while (pid_ > 0 && announced.find('\n') == std::string::npos && poll(&ready, 1, 5000) == 1) {
      const ssize_t got = read(fds[0], chunk, sizeof chunk);
      if (got <= 0) break;
      announced.append(chunk, size_t(got));
    }
    const size_t end = announced.find('\n');
    if (end != std::string::npos) display_ = announced.substr(0, end).insert(0, 1, ':');
    close(fds[0]);
  }
  ~PrivateXServer() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace qc
