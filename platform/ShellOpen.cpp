#include "platform/ShellOpen.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>

extern char** environ;

namespace {

std::function<void(const std::string&)>& GetShellOpenSink() {
  static std::function<void(const std::string&)> s_fnSink;
  return s_fnSink;
}

}  // namespace

bool ShellOpen(const std::string& strText) {
  if (GetShellOpenSink()) {
    const std::function<void(const std::string&)> fnSink = GetShellOpenSink();
    fnSink(strText);
    return true;
  }

  // Everything the child needs is prepared before the fork.
  std::string strProgram = "xdg-open";
  std::string strArgument = strText;
  char* arrArgv[] = {strProgram.data(), strArgument.data(), nullptr};
  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr) != 0) return false;
  // Its own session, so the terminal's signals to this process group do not reach it.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);

  // A short-lived middle process starts xdg-open and exits at once; xdg-open then belongs to
  // init, which reaps it, and this process reaps the middle one here. No SIGCHLD handling is
  // needed and no zombie is left. The middle process's exit code says whether the start
  // succeeded.
  const pid_t nMiddle = fork();
  if (nMiddle == 0) {
    pid_t nChild = 0;
    _exit(posix_spawnp(&nChild, strProgram.c_str(), nullptr, &attr, arrArgv, environ) == 0 ? 0 : 1);
  }
  posix_spawnattr_destroy(&attr);
  if (nMiddle < 0) return false;

  int nStatus = 0;
  pid_t nWaited = 0;
  do {
    nWaited = waitpid(nMiddle, &nStatus, 0);
  } while (nWaited < 0 && errno == EINTR);
  return nWaited == nMiddle && WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

void SetShellOpenSink(std::function<void(const std::string&)> fnSink) {
  GetShellOpenSink() = std::move(fnSink);
}
