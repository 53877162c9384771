// The formats of groups: text for people, the report the actions read, and
// the list of duplicates for xargs -0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/group_set.h"
#include "report/output_stream.h"

namespace wordlap::report {

struct ScanCounts {
  std::size_t files = 0;  // files scanned
  std::size_t pairs = 0;  // pairs that met every criterion
};

// Each group: its kept file, the other files it keeps (reference files),
// then its duplicates with their sizes and "[found of words, percent%]"
// against the kept file (percent to one decimal, with `decimal_separator`).
// A first line says what was not compared when content was not; a summary
// line ends the output.
void WriteGroupText(OutputStream& out, const FileTable& files,
                    const GroupSet& set, const OverlapOf& overlap,
                    std::string_view decimal_separator,
                    const ScanCounts& counts);

// What the report's header line says.
struct ReportHeader {
  std::string command;  // "wordlap 0.4.0"
  std::string cwd;
  std::vector<std::string> criteria;  // "name", "size", "content"
  std::string keep;                   // the keep rule's name
};

// JSON Lines as doc/report-format.md describes them: header, one line per
// group, end line.
void WriteReport(OutputStream& out, const ReportHeader& header,
                 const FileTable& files, const GroupSet& set,
                 const OverlapOf& overlap);

// The paths of the duplicates (never a kept file), each ended by a NUL.
void WriteDuplicatesNul(OutputStream& out, const FileTable& files,
                        const GroupSet& set);

}  // namespace wordlap::report
