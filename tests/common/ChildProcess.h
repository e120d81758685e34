#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

extern char **environ;

namespace testcommon {

// A program the test started, ended with it. Its first line on the descriptor named by "{fd}"
// in its arguments is what it announces (the bus address, the display number).
class Child {
public:
  explicit Child(std::vector<std::string> argv) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
    for (std::string &arg : argv)
      if (const auto at = arg.find("{fd}"); at != std::string::npos)
        arg.replace(at, 4, std::to_string(pipeFds[1]));
    std::vector<char *> args;
    for (std::string &arg : argv)
      args.push_back(arg.data());
    args.push_back(nullptr);
    const int spawned = posix_spawnp(&m_pid, args[0], nullptr, nullptr, args.data(), environ);
    ::close(pipeFds[1]);
    if (spawned != 0) {
      m_pid = -1;
      ::close(pipeFds[0]);
      return;
    }
    FILE *announced = ::fdopen(pipeFds[0], "r");
    if (announced == nullptr) {
      ::close(pipeFds[0]);
      return;
    }
    char line[512];
    if (std::fgets(line, sizeof line, announced) != nullptr) {
      m_line = line;
      while (!m_line->empty() && (m_line->back() == '\n' || m_line->back() == '\0'))
        m_line->pop_back();
    }
    std::fclose(announced);
  }
  ~Child() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
  }
  Child(const Child &) = delete;
  Child &operator=(const Child &) = delete;

  // Empty when the program could not be started or announced nothing.
  const std::optional<std::string> &Line() const { return m_line; }

private:
  pid_t m_pid = -1;
  std::optional<std::string> m_line;
};

} // namespace testcommon
