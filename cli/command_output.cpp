#include "cli/command_output.h"

#include <unistd.h>

namespace wordlap::cli {

int WriteOutput(int status,
                const std::function<void(scan::OutputStream&)>& write) {
  scan::OutputStream out(STDOUT_FILENO);
  try {
    write(out);
    out.Flush();
  } catch (const scan::OutputClosed&) {
    // Whoever reads the output has all they wanted.
  }
  return status;
}

}  // namespace wordlap::cli
