#include "host/samples/RunProgram.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tov {

ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& workingFolder) {
  ProgramResult result;
  int out[2], err[2], failed[2];
  if (argv.empty() || pipe2(out, O_CLOEXEC) != 0) return result;
  if (pipe2(err, O_CLOEXEC) != 0 || pipe2(failed, O_CLOEXEC) != 0) return result;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, STDIN_FILENO);
    if (workingFolder.empty() || chdir(workingFolder.c_str()) == 0) execvp(args[0], args.data());
    const int why = errno;
    (void)!write(failed[1], &why, sizeof why); // tells the parent it never ran
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  close(failed[1]);
  if (pid < 0) {
    close(out[0]);
    close(err[0]);
    close(failed[0]);
    return result;
  }
  // Both streams at once: a program filling one pipe while we wait on the
  // other would never end.
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* into[2] = {&result.out, &result.err};
  int streams = 2;
  char buffer[4096];
  while (streams > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        into[i]->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --streams;
      }
    }
  }
  int why = 0;
  result.started = read(failed[0], &why, sizeof why) != static_cast<ssize_t>(sizeof why);
  close(failed[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

} // namespace tov
