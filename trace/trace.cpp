// Built into each plug-in module with its own switch and file path.
#include "trace/trace.h"

#include "trace/trace_file_writer.h"

#ifndef WORDLAP_TRACE_ENABLED
#error "WORDLAP_TRACE_ENABLED must be defined by the build"
#endif
#ifndef WORDLAP_TRACE_FILE
#error "WORDLAP_TRACE_FILE must be defined by the build"
#endif

namespace wordlap {
namespace {

constexpr bool kTraceEnabled = WORDLAP_TRACE_ENABLED;
constexpr char kTraceFilePath[] = WORDLAP_TRACE_FILE;

class TraceFileSink final : public LineSink {
 public:
  void Line(std::string_view line) override { Trace(line); }
};

TraceFileSink trace_file_sink;

}  // namespace

void Trace(std::string_view line) noexcept {
  if (!kTraceEnabled) return;
  AppendTraceLine(kTraceFilePath, line);
}

LineSink* TraceSink() noexcept {
  return kTraceEnabled ? &trace_file_sink : nullptr;
}

}  // namespace wordlap
