#include "collect/path_list.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "collect/input_error.h"

namespace wordlap::collect {

void ReadPathList(std::FILE* stream, bool nul_separated,
                  const std::string& source, std::vector<std::string>& paths) {
  const char end = nul_separated ? '\0' : '\n';
  std::string entry;
  const auto take = [&] {
    if (!nul_separated && !entry.empty() && entry.back() == '\r') {
      entry.pop_back();
    }
    if (!entry.empty()) paths.push_back(entry);
    entry.clear();
  };
  std::size_t line = 1;
  char buffer[1 << 15];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
    for (std::size_t i = 0; i < n; ++i) {
      if (buffer[i] == end) {
        take();
        ++line;
      } else if (buffer[i] == '\0') {
        // The path would end at the NUL for the system, not for the names
        // compared: no meaning of it is safe.
        throw InputError(source + ": line " + std::to_string(line) +
                         " holds a NUL byte, which no path can hold (a "
                         "NUL-separated list needs -0)");
      } else {
        entry.push_back(buffer[i]);
      }
    }
  }
  if (std::ferror(stream)) {
    throw InputError("cannot read " + source + ": " + std::strerror(errno));
  }
  take();
}

void ReadPathListFile(const std::string& source, bool nul_separated,
                      std::vector<std::string>& paths) {
  if (source == "-") {
    ReadPathList(stdin, nul_separated, "standard input", paths);
    return;
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(source.c_str(), "rb"), &std::fclose);
  if (!file) {
    throw InputError("cannot open " + source + ": " + std::strerror(errno));
  }
  ReadPathList(file.get(), nul_separated, source, paths);
}

}  // namespace wordlap::collect
