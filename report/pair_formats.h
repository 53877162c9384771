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

// One JSON object per matching pair per line. A path that is not valid
// UTF-8 shows each invalid byte as U+FFFD and has its exact bytes in a
// second field, path_a_base64 or path_b_base64.
std::unique_ptr<PairWriter> MakeJsonWriter(
    const std::vector<std::string>& paths, OutputStream& out);

}  // namespace wordlap::report
