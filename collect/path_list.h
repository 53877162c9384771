// Reading a list of paths, one per line or NUL-separated.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace wordlap::collect {

// Appends the paths of the list in `stream` to `paths`, in list order. With
// `nul_separated` the entries end at NUL bytes and are taken as they are;
// otherwise they end at LF and lose one CR before it, so that lists written
// on Windows read the same; a NUL byte inside such a line is an error.
// Empty entries are skipped. Throws InputError naming `source` when reading
// fails or the list is not a list of paths.
void ReadPathList(std::FILE* stream, bool nul_separated,
                  const std::string& source, std::vector<std::string>& paths);

// Opens `source` ("-" is standard input) and reads it as above.
void ReadPathListFile(const std::string& source, bool nul_separated,
                      std::vector<std::string>& paths);

}  // namespace wordlap::collect
