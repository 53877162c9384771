#include <string>

#include "report/group_formats.h"

namespace wordlap::report {
namespace {

// Text output is for reading; a control byte in a path (a newline, say)
// would break the layout, so it shows as '?'. The machine formats keep
// every byte.
void AppendShownPath(std::string& line, std::string_view path) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
}

// "512 B", "3.9 MiB": powers of 1024, one decimal.
std::string ShownSize(std::uint64_t size, std::string_view separator) {
  if (size < 1024) return std::to_string(size) + " B";
  static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB",
                                           "TiB", "PiB", "EiB"};
  std::size_t unit = 0;
  std::uint64_t scale = 1024;
  while (unit + 1 < std::size(kUnits) && size / scale >= 1024) {
    scale *= 1024;
    ++unit;
  }
  // Tenths of the unit, rounded half up, in integers so that no size is
  // shown a tenth off.
  const unsigned __int128 tenths =
      (static_cast<unsigned __int128>(size) * 20 + scale) / (2 * scale);
  return std::to_string(static_cast<std::uint64_t>(tenths / 10)) +
         std::string(separator) +
         std::to_string(static_cast<unsigned>(tenths % 10)) + " " +
         kUnits[unit];
}

std::string ShownSizeOf(const FileTable& files, group::FileIndex file,
                        std::string_view separator) {
  const auto* facts = files.Facts(file);
  return facts ? ShownSize(facts->size, separator) : "size unknown";
}

// 100 * found / words to one decimal, rounded half up.
std::string ShownPercent(std::uint32_t found, std::uint32_t words,
                         std::string_view separator) {
  const std::uint64_t tenths =
      words == 0
          ? 0
          : (std::uint64_t{found} * 2000 + words) / (2 * std::uint64_t{words});
  return std::to_string(tenths / 10) + std::string(separator) +
         std::to_string(tenths % 10);
}

const char* Plural(std::size_t n, const char* one, const char* many) {
  return n == 1 ? one : many;
}

}  // namespace

void WriteGroupText(OutputStream& out, const FileTable& files,
                    const GroupSet& set, const OverlapOf& overlap,
                    std::string_view decimal_separator,
                    const ScanCounts& counts) {
  switch (set.confirmed) {
    case Confirmation::kName:
      out.Write(
          "Name groups only: the files' contents were not compared "
          "(--same-content compares them).\n\n");
      out.EndRecord();
      break;
    case Confirmation::kSize:
      out.Write(
          "Groups of equal sizes: the files' contents were not compared "
          "(--same-content compares them).\n\n");
      out.EndRecord();
      break;
    case Confirmation::kContent:
      break;
  }
  std::string line;
  for (const group::KeptGroup& group : set.groups) {
    line.clear();
    AppendShownPath(line, files.paths[group.kept]);
    line += "  " + ShownSizeOf(files, group.kept, decimal_separator);
    line +=
        files.Reference(group.kept) ? "  (reference, kept)\n" : "  (kept)\n";
    for (const group::FileIndex file : group.also_kept) {
      line += "    ";
      AppendShownPath(line, files.paths[file]);
      line += "  " + ShownSizeOf(files, file, decimal_separator);
      line += "  (reference, kept)\n";
    }
    for (const group::FileIndex file : group.duplicates) {
      const match::Overlap o = file < group.kept ? overlap(file, group.kept)
                                                 : overlap(group.kept, file);
      line += "    ";
      AppendShownPath(line, files.paths[file]);
      line += "  " + ShownSizeOf(files, file, decimal_separator);
      line += "  [" + std::to_string(o.found) + " of " +
              std::to_string(o.words) + " words, " +
              ShownPercent(o.found, o.words, decimal_separator) + "%]\n";
    }
    line += '\n';
    out.Write(line);
    out.EndRecord();
  }
  const GroupTotals totals = TotalsOf(files, set);
  line = std::to_string(totals.groups) +
         Plural(totals.groups, " group, ", " groups, ") +
         std::to_string(totals.duplicates) +
         Plural(totals.duplicates, " duplicate, ", " duplicates, ") +
         std::to_string(totals.bytes) + Plural(totals.bytes, " byte", " bytes");
  if (totals.bytes >= 1024) {
    line += " (" + ShownSize(totals.bytes, decimal_separator) + ")";
  }
  line += " to free by removing the duplicates; " +
          std::to_string(counts.pairs) +
          Plural(counts.pairs, " matching pair, ", " matching pairs, ") +
          std::to_string(counts.files) +
          Plural(counts.files, " file scanned\n", " files scanned\n");
  out.Write(line);
  out.EndRecord();
}

void WriteDuplicatesNul(OutputStream& out, const FileTable& files,
                        const GroupSet& set) {
  for (const group::KeptGroup& group : set.groups) {
    for (const group::FileIndex file : group.duplicates) {
      out.Write(files.paths[file]);
      out.Put('\0');
      out.EndRecord();
    }
  }
}

}  // namespace wordlap::report
