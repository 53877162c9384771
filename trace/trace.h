// The plug-in's trace: every line of every comparison, appended to a fixed
// file. Whether it is on and where the file lies are fixed when the plug-in
// is built; it is off in the shipped build.
#pragma once

#include <string_view>

#include "trace/line_sink.h"

namespace wordlap {

// Appends `line` to the trace file when this build traces; does nothing
// otherwise. Never fails.
void Trace(std::string_view line) noexcept;

// The sink that sends a comparison's lines to Trace, or null when this build
// does not trace, so that the lines are not even built.
LineSink* TraceSink() noexcept;

}  // namespace wordlap
