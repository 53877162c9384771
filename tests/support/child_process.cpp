#include "tests/support/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace wordlap::test {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const char* what) {
  char name[] = "/tmp/wordlap-child-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  ::close(fd);
  return std::string(name) + "." + what;
}

std::vector<std::string> MergedEnvironment(
    const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool overridden = false;
    for (const std::string& e : extra) {
      overridden = overridden || e.substr(0, e.find('=')) == name;
    }
    if (!overridden) env.push_back(text);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv,
                     const std::vector<std::string>& extra_env,
                     const std::string& input, ChildOutput output) {
  const std::string in_path = TempPath("in");
  const std::string out_path = TempPath("out");
  const std::string err_path = TempPath("err");
  std::ofstream(in_path, std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
  int pipe_ends[2] = {-1, -1};
  switch (output) {
    case ChildOutput::kCaptured:
      posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
      break;
    case ChildOutput::kFull:
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
      break;
    case ChildOutput::kClosedPipe:
      if (::pipe(pipe_ends) != 0) throw std::runtime_error("pipe failed");
      ::close(pipe_ends[0]);  // nobody will read
      posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
      posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
      break;
  }
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergedEnvironment(extra_env);
  std::vector<char*> arg_pointers = Pointers(args);
  std::vector<char*> env_pointers = Pointers(env);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, args[0].c_str(), &actions, nullptr,
                                    arg_pointers.data(), env_pointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (pipe_ends[1] >= 0) ::close(pipe_ends[1]);
  ChildResult result;
  if (spawned == 0) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  }
  result.out = ReadWhole(out_path);
  result.err = ReadWhole(err_path);
  for (const std::string* path : {&in_path, &out_path, &err_path}) {
    std::remove(path->c_str());
    std::remove(path->substr(0, path->rfind('.')).c_str());
  }
  return result;
}

}  // namespace wordlap::test
