#include "tests/act/act_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

namespace wordlap::test {
namespace fs = std::filesystem;

TempTree::TempTree() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") +
                        "/wordlap-act-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void TempTree::Write(const std::string& relative,
                     const std::string& content) const {
  const fs::path path = Path(relative);
  fs::create_directories(path.parent_path());
  WriteFile(path, content);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

namespace {

bool IsUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    }
    i += length;
  }
  return true;
}

std::string Base64(const std::string& bytes) {
  static const char* alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t quad = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size())
      quad |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) quad |= static_cast<unsigned char>(bytes[i + 2]);
    text += alphabet[(quad >> 18) & 63];
    text += alphabet[(quad >> 12) & 63];
    text += i + 1 < bytes.size() ? alphabet[(quad >> 6) & 63] : '=';
    text += i + 2 < bytes.size() ? alphabet[quad & 63] : '=';
  }
  return text;
}

nlohmann::json FileEntry(const std::string& cwd, const std::string& path,
                         const std::string& root, bool reference) {
  struct stat info {};
  if (::lstat((cwd + "/" + path).c_str(), &info) != 0) {
    throw std::runtime_error("cannot stat " + path);
  }
  nlohmann::json entry;
  if (IsUtf8(path)) {
    entry["path"] = path;
  } else {
    entry["path"] = "?";  // for people only; readers take path_base64
    entry["path_base64"] = Base64(path);
  }
  if (!root.empty()) entry["root"] = root;
  entry["size"] = static_cast<std::uint64_t>(info.st_size);
  entry["mtime"] = static_cast<std::uint64_t>(info.st_mtim.tv_sec);
  entry["mtime_nsec"] = static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
  entry["dev"] = static_cast<std::uint64_t>(info.st_dev);
  entry["ino"] = static_cast<std::uint64_t>(info.st_ino);
  if (reference) entry["reference"] = true;
  return entry;
}

}  // namespace

std::string MakeReport(const std::string& cwd,
                       const std::vector<GroupSpec>& groups,
                       const std::string& root) {
  std::string report = nlohmann::json{{"wordlap_report", 1},
                                      {"command", "wordlap test"},
                                      {"cwd", cwd},
                                      {"criteria", {"name", "content"}},
                                      {"keep", "default"}}
                           .dump() +
                       "\n";
  std::uint64_t duplicates = 0;
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const GroupSpec& spec = groups[i];
    nlohmann::json line;
    line["group"] = i + 1;
    line["confirmed"] = spec.confirmed;
    line["keep"] =
        FileEntry(cwd, spec.keep, root, spec.references.contains(spec.keep));
    line["duplicates"] = nlohmann::json::array();
    for (const std::string& path : spec.duplicates) {
      nlohmann::json entry =
          FileEntry(cwd, path, root, spec.references.contains(path));
      entry["found"] = 1;
      entry["words"] = 1;
      entry["percent"] = 100;
      bytes += entry["size"].get<std::uint64_t>();
      ++duplicates;
      line["duplicates"].push_back(entry);
    }
    report += line.dump() + "\n";
  }
  report += nlohmann::json{{"end",
                            {{"groups", groups.size()},
                             {"duplicates", duplicates},
                             {"bytes", bytes}}}}
                .dump() +
            "\n";
  return report;
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const std::string relative = fs::relative(entry.path(), dir);
    if (entry.is_symlink()) {
      files[relative] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      files[relative] = ReadFile(entry.path());
    }
  }
  return files;
}

std::set<std::string> Contents(const std::string& dir) {
  std::set<std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      contents.insert(ReadFile(entry.path()));
    }
  }
  return contents;
}

std::vector<std::string> TempFilesBelow(const std::string& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.path().filename().string().starts_with(".wordlap-tmp-")) {
      found.push_back(entry.path());
    }
  }
  return found;
}

ChildResult RunWordlap(const std::vector<std::string>& args,
                       const std::string& cwd, const std::string& input,
                       const std::vector<std::string>& env) {
  std::vector<std::string> argv = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"",
                                   cwd, WORDLAP_COMMAND};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, env, input);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace wordlap::test
