#include <string>
#include <vector>

#include "compare/percentage.h"
#include "report/pair_formats.h"

namespace wordlap::report {
namespace {

// Text output is for reading; a control byte in a path (a newline, say)
// would break the layout, so it shows as '?'. CSV and JSON keep every byte.
void WriteShownPath(OutputStream& out, std::string_view path) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    out.Put(byte < 0x20 || byte == 0x7F ? '?' : c);
  }
}

class GroupWriter final : public PairWriter {
 public:
  GroupWriter(const std::vector<std::string>& paths, OutputStream& out,
              std::string_view decimal_separator)
      : paths_(paths),
        out_(out),
        separator_(decimal_separator),
        grouped_(paths.size(), false) {}

  // Matches come by ascending a, so when a's matches arrive every earlier
  // name has already had its chance to take a as a member.
  void Write(std::span<const match::Match> matches) override {
    const match::NameId reference = matches.front().a;
    if (grouped_[reference]) return;
    bool opened = false;
    for (const match::Match& m : matches) {
      if (grouped_[m.b]) continue;
      if (!opened) {
        if (groups_ > 0) out_.Put('\n');
        WriteShownPath(out_, paths_[reference]);
        out_.Put('\n');
        grouped_[reference] = true;
        ++groups_;
        opened = true;
      }
      grouped_[m.b] = true;
      ++members_;
      out_.Write("    ");
      WriteShownPath(out_, paths_[m.b]);
      out_.Write("  [");
      out_.Write(std::to_string(m.found));
      out_.Write(" of ");
      out_.Write(std::to_string(m.words));
      out_.Write(" words, ");
      out_.Write(FormatPercentage(m.found, m.words, separator_));
      out_.Write("%]\n");
    }
  }

  void End(const ScanTotals& totals) override {
    if (groups_ > 0) out_.Put('\n');
    out_.Write(std::to_string(groups_));
    out_.Write(groups_ == 1 ? " group, " : " groups, ");
    out_.Write(std::to_string(groups_ + members_));
    out_.Write(" files in groups, ");
    out_.Write(std::to_string(totals.pairs));
    out_.Write(totals.pairs == 1 ? " matching pair, " : " matching pairs, ");
    out_.Write(std::to_string(totals.files));
    out_.Write(totals.files == 1 ? " file scanned\n" : " files scanned\n");
  }

 private:
  const std::vector<std::string>& paths_;
  OutputStream& out_;
  std::string separator_;
  std::vector<bool> grouped_;
  std::size_t groups_ = 0;
  std::size_t members_ = 0;
};

}  // namespace

std::unique_ptr<PairWriter> MakeGroupWriter(
    const std::vector<std::string>& paths, OutputStream& out,
    std::string_view decimal_separator) {
  return std::make_unique<GroupWriter>(paths, out, decimal_separator);
}

}  // namespace wordlap::report
