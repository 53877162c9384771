#include <string>

#include "compare/percentage.h"
#include "report/group_formats.h"
#include "report/json_text.h"

namespace wordlap::report {
namespace {

void AppendNumber(std::string& line, std::string_view key,
                  std::uint64_t value) {
  line += ",\"";
  line += key;
  line += "\":";
  line += std::to_string(value);
}

void AppendFile(std::string& line, const FileTable& files,
                group::FileIndex file) {
  line += '{';
  AppendTextField(line, "path", files.paths[file]);
  if (const std::string* root = files.Root(file)) {
    line += ',';
    AppendTextField(line, "root", *root);
  }
  // A listed path that does not exist here has no facts to give.
  if (const auto* facts = files.Facts(file)) {
    AppendNumber(line, "size", facts->size);
    AppendNumber(
        line, "mtime",
        static_cast<std::uint64_t>(facts->mtime < 0 ? 0 : facts->mtime));
    AppendNumber(line, "mtime_nsec", facts->mtime_nsec);
    AppendNumber(line, "dev", facts->dev);
    AppendNumber(line, "ino", facts->ino);
  }
  if (const auto* hash = files.Hash(file)) {
    line += ",\"xxh3_128\":\"" + confirm::HexOf(*hash) + '"';
  }
  if (files.Reference(file)) line += ",\"reference\":true";
}

}  // namespace

void WriteReport(OutputStream& out, const ReportHeader& header,
                 const FileTable& files, const GroupSet& set,
                 const OverlapOf& overlap) {
  std::string line = "{\"wordlap_report\":1,";
  AppendTextField(line, "command", header.command);
  line += ',';
  AppendTextField(line, "cwd", header.cwd);
  line += ",\"criteria\":[";
  for (std::size_t i = 0; i < header.criteria.size(); ++i) {
    if (i > 0) line += ',';
    AppendJsonString(line, header.criteria[i]);
  }
  line += "],";
  AppendTextField(line, "keep", header.keep);
  line += "}\n";
  out.Write(line);
  out.EndRecord();

  std::size_t number = 0;
  for (const group::KeptGroup& group : set.groups) {
    line = "{\"group\":" + std::to_string(++number) + ",\"confirmed\":\"";
    line += ConfirmationName(set.confirmed);
    line += "\",\"keep\":";
    AppendFile(line, files, group.kept);
    line += '}';
    if (!group.also_kept.empty()) {
      line += ",\"also_kept\":[";
      for (std::size_t i = 0; i < group.also_kept.size(); ++i) {
        if (i > 0) line += ',';
        AppendFile(line, files, group.also_kept[i]);
        line += '}';
      }
      line += ']';
    }
    line += ",\"duplicates\":[";
    for (std::size_t i = 0; i < group.duplicates.size(); ++i) {
      const group::FileIndex file = group.duplicates[i];
      const match::Overlap o = file < group.kept ? overlap(file, group.kept)
                                                 : overlap(group.kept, file);
      if (i > 0) line += ',';
      AppendFile(line, files, file);
      AppendNumber(line, "found", o.found);
      AppendNumber(line, "words", o.words);
      line += ",\"percent\":" + FormatPercentage(o.found, o.words, ".") + '}';
    }
    line += "]}\n";
    out.Write(line);
    out.EndRecord();
  }

  const GroupTotals totals = TotalsOf(files, set);
  out.Write("{\"end\":{\"groups\":" + std::to_string(totals.groups) +
            ",\"duplicates\":" + std::to_string(totals.duplicates) +
            ",\"bytes\":" + std::to_string(totals.bytes) + "}}\n");
  out.EndRecord();
}

}  // namespace wordlap::report
