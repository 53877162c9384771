// CompareNames: do two paths look like duplicates by the words of their file
// names?
#pragma once

#include <string_view>

#include "compare/word_list.h"
#include "trace/line_sink.h"

namespace wordlap {

// The words of the file name of `path`: cut to the file name, normalised and
// split at spaces. Sends the five lines of one path to `sink` when given.
WordList PathWords(std::string_view path, LineSink* sink = nullptr);

// Looks the entries of the shorter list up in the other one (on equal length,
// the entries of `b` in `a`) and answers true when more than nine tenths are
// found. An empty shorter list never matches. Sends the lines of the lookup
// and the verdict to `sink` when given, ending with an empty line.
bool CompareWordLists(const WordList& a, const WordList& b,
                      LineSink* sink = nullptr);

// The whole comparison of two paths, with all of its lines.
bool CompareNames(std::string_view path_a, std::string_view path_b,
                  LineSink* sink = nullptr);

}  // namespace wordlap
