#include "cli/command_output.h"

#include <unistd.h>

namespace wordlap::cli {

int WriteOutput(int status,
                const std::function<void(report::OutputStream&)>& write) {
  report::OutputStream out(STDOUT_FILENO);
  try {
    write(out);
    out.Flush();
  } catch (const report::OutputClosed&) {
    // Whoever reads the output has all they wanted.
  }
  return status;
}

}  // namespace wordlap::cli
