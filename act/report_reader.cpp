#include "act/report_reader.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "act/base64.h"

namespace wordlap::act {
namespace {

using nlohmann::json;

class LineReader {
 public:
  explicit LineReader(std::size_t number) : number_(number) {}

  [[noreturn]] void Fail(const std::string& message) const {
    throw ReportError(number_, message);
  }

  json Parse(std::string_view line) const {
    json value;
    try {
      value = json::parse(line.begin(), line.end());
    } catch (const json::parse_error& error) {
      std::string what = error.what();
      // "[json.exception.parse_error.101] parse error at line 1, column 5:
      // syntax error ..." : the part after the position says what is wrong.
      const std::size_t colon = what.find(": ");
      Fail("not valid JSON (" +
           (colon == std::string::npos ? what : what.substr(colon + 2)) + ")");
    }
    if (!value.is_object()) Fail("not a JSON object");
    return value;
  }

  const json& Field(const json& object, const char* name,
                    const std::string& where) const {
    const auto found = object.find(name);
    if (found == object.end()) Fail(where + "no field \"" + name + "\"");
    return *found;
  }

  std::uint64_t Number(const json& object, const char* name,
                       const std::string& where) const {
    const json& value = Field(object, name, where);
    if (!value.is_number_unsigned()) {
      Fail(where + "\"" + name + "\" is not a non-negative integer");
    }
    return value.get<std::uint64_t>();
  }

  const std::string& String(const json& object, const char* name,
                            const std::string& where) const {
    const json& value = Field(object, name, where);
    if (!value.is_string()) Fail(where + "\"" + name + "\" is not a string");
    return value.get_ref<const std::string&>();
  }

  // A path field: NAME_base64 wins over NAME when both are there.
  std::optional<std::string> Path(const json& object, const std::string& name,
                                  const std::string& where) const {
    const std::string encoded = name + "_base64";
    if (object.contains(encoded)) {
      const json& value = object[encoded];
      if (!value.is_string())
        Fail(where + "\"" + encoded + "\" is not a string");
      std::optional<std::string> bytes =
          DecodeBase64(value.get_ref<const std::string&>());
      if (!bytes) Fail(where + "\"" + encoded + "\" is not base64");
      return CheckedPath(std::move(*bytes), where + "\"" + encoded + "\" ");
    }
    if (!object.contains(name)) return std::nullopt;
    return CheckedPath(String(object, name.c_str(), where),
                       where + "\"" + name + "\" ");
  }

 private:
  std::string CheckedPath(std::string path, const std::string& where) const {
    if (path.empty()) Fail(where + "is empty");
    if (path.find('\0') != std::string::npos) Fail(where + "holds a NUL byte");
    return path;
  }

  std::size_t number_;
};

std::string Resolve(const std::string& cwd, const std::string& path) {
  if (path.front() == '/') return path;
  return cwd.back() == '/' ? cwd + path : cwd + "/" + path;
}

ReportFile ReadFile(const LineReader& reader, const json& value,
                    const std::string& cwd, const std::string& where) {
  if (!value.is_object()) reader.Fail(where + "is not a JSON object");
  const std::string in = where + ": ";
  ReportFile file;
  std::optional<std::string> path = reader.Path(value, "path", in);
  if (!path) reader.Fail(in + "no field \"path\"");
  file.path = std::move(*path);
  file.resolved = Resolve(cwd, file.path);
  if (std::optional<std::string> root = reader.Path(value, "root", in)) {
    file.root = Resolve(cwd, *root);
  }
  // A path that named no file where the report was written has none of
  // the facts; a file with some of them is a report cut or edited wrongly.
  constexpr const char* kFacts[] = {"size", "mtime", "mtime_nsec", "dev",
                                    "ino"};
  std::size_t facts = 0;
  for (const char* name : kFacts) facts += value.contains(name) ? 1 : 0;
  file.has_facts = facts > 0;
  if (file.has_facts) {
    file.size = reader.Number(value, "size", in);
    file.mtime = reader.Number(value, "mtime", in);
    file.mtime_nsec = reader.Number(value, "mtime_nsec", in);
    if (file.mtime_nsec >= 1'000'000'000) {
      reader.Fail(in + "\"mtime_nsec\" is not below 1000000000");
    }
    file.dev = reader.Number(value, "dev", in);
    file.ino = reader.Number(value, "ino", in);
  }
  if (const auto reference = value.find("reference");
      reference != value.end()) {
    if (!reference->is_boolean()) {
      reader.Fail(in + "\"reference\" is not true or false");
    }
    file.reference = reference->get<bool>();
  }
  return file;
}

ReportGroup ReadGroup(const LineReader& reader, const json& line,
                      const std::string& cwd, std::uint64_t expected) {
  ReportGroup group;
  group.number = reader.Number(line, "group", "");
  if (group.number != expected) {
    reader.Fail("group " + std::to_string(group.number) + " where group " +
                std::to_string(expected) + " was expected");
  }
  group.confirmed = reader.String(line, "confirmed", "");
  group.keep =
      ReadFile(reader, reader.Field(line, "keep", ""), cwd, "\"keep\"");
  if (const auto also = line.find("also_kept"); also != line.end()) {
    if (!also->is_array()) reader.Fail("\"also_kept\" is not a list");
    for (std::size_t i = 0; i < also->size(); ++i) {
      group.also_kept.push_back(
          ReadFile(reader, (*also)[i], cwd,
                   "also kept file " + std::to_string(i + 1) + " of group " +
                       std::to_string(group.number)));
    }
  }
  const json& duplicates = reader.Field(line, "duplicates", "");
  if (!duplicates.is_array() || duplicates.empty()) {
    reader.Fail("\"duplicates\" is not a list of at least one file");
  }
  for (std::size_t i = 0; i < duplicates.size(); ++i) {
    group.duplicates.push_back(ReadFile(reader, duplicates[i], cwd,
                                        "duplicate " + std::to_string(i + 1) +
                                            " of group " +
                                            std::to_string(group.number)));
  }
  return group;
}

}  // namespace

Report ParseReport(std::string_view text) {
  Report report;
  std::size_t number = 0;
  std::size_t duplicates = 0;
  std::uint64_t bytes = 0;
  bool ended = false;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view()
                                         : text.substr(end + 1);
    const LineReader reader(number);
    if (ended) reader.Fail("a line after the end line");
    const json value = reader.Parse(line);
    if (number == 1) {
      if (!value.contains("wordlap_report")) {
        reader.Fail("not a wordlap report (no field \"wordlap_report\")");
      }
      const json& version = value["wordlap_report"];
      if (!version.is_number_unsigned() ||
          version.get<std::uint64_t>() != kReportVersion) {
        reader.Fail("a report of format version " + version.dump() +
                    "; this wordlap reads version " +
                    std::to_string(kReportVersion));
      }
      std::optional<std::string> cwd = reader.Path(value, "cwd", "");
      if (!cwd) reader.Fail("no field \"cwd\"");
      report.cwd = std::move(*cwd);
      continue;
    }
    if (const auto end_line = value.find("end"); end_line != value.end()) {
      if (!end_line->is_object()) reader.Fail("\"end\" is not a JSON object");
      const std::uint64_t groups = reader.Number(*end_line, "groups", "end: ");
      const std::uint64_t counted =
          reader.Number(*end_line, "duplicates", "end: ");
      const std::uint64_t sum = reader.Number(*end_line, "bytes", "end: ");
      if (groups != report.groups.size() || counted != duplicates ||
          sum != bytes) {
        reader.Fail("the end line counts " + std::to_string(groups) +
                    " groups, " + std::to_string(counted) + " duplicates and " +
                    std::to_string(sum) + " bytes, the report holds " +
                    std::to_string(report.groups.size()) + ", " +
                    std::to_string(duplicates) + " and " +
                    std::to_string(bytes));
      }
      ended = true;
      continue;
    }
    ReportGroup group =
        ReadGroup(reader, value, report.cwd, report.groups.size() + 1);
    duplicates += group.duplicates.size();
    for (const ReportFile& file : group.duplicates) bytes += file.size;
    report.groups.push_back(std::move(group));
  }
  if (number == 0) throw ReportError(1, "the report is empty");
  if (!ended) {
    throw ReportError(number + 1, "no end line: the report is cut short");
  }
  return report;
}

}  // namespace wordlap::act
