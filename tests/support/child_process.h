// Runs a program to its end and collects what it wrote, for tests that
// check commands and child processes from the outside.
#pragma once

#include <string>
#include <vector>

namespace wordlap::test {

struct ChildResult {
  int exit_status = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// Where the child's standard output goes.
enum class ChildOutput {
  kCaptured,    // into ChildResult::out
  kFull,        // /dev/full: every write fails with ENOSPC
  kClosedPipe,  // a pipe whose reader has gone: writes fail with EPIPE
};

// Starts `argv[0]` with the arguments `argv`, the environment of this
// process plus `extra_env` ("NAME=value", overriding), and `input` on its
// standard input.
ChildResult RunChild(const std::vector<std::string>& argv,
                     const std::vector<std::string>& extra_env = {},
                     const std::string& input = "",
                     ChildOutput output = ChildOutput::kCaptured);

}  // namespace wordlap::test
