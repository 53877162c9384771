// The writers behind MakePairWriter, one per format.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/pair_writer.h"

namespace wordlap::report {

// RFC 4180: header path_a,path_b,found,words,percent; CRLF line ends; a field
// is quoted when it holds a comma, a quote, CR or LF. Paths are written as
// their bytes.
std::unique_ptr<PairWriter> MakeCsvWriter(const std::vector<std::string>& paths,
                                          OutputStream& out);

// One JSON object per matching pair per line. A byte that is not part of
// well-formed UTF-8 is written as \udcXX (XX its value), so the exact path
// bytes can be recovered.
std::unique_ptr<PairWriter> MakeJsonWriter(
    const std::vector<std::string>& paths, OutputStream& out);

// Groups: each unused name with matches later in scan order becomes a
// reference, and the unused names that match it become its members; a file
// is in at most one group. Ends with a summary line.
std::unique_ptr<PairWriter> MakeGroupWriter(
    const std::vector<std::string>& paths, OutputStream& out,
    std::string_view decimal_separator);

}  // namespace wordlap::report
