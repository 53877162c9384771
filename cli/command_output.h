// Standard output of the commands that print a short answer (info, compare,
// help, the version): written through one checked stream, so that a failed
// write is an error and a reader that went away is not.
#pragma once

#include <functional>

#include "report/output_stream.h"

namespace wordlap::cli {

// Runs `write` with a stream on standard output, flushes it and returns
// `status`. A reader that has gone (`| head`) ends the output quietly with
// `status` all the same; any other failure to write throws
// std::runtime_error. SIGPIPE must be ignored.
int WriteOutput(int status,
                const std::function<void(report::OutputStream&)>& write);

}  // namespace wordlap::cli
