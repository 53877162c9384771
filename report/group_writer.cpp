#include <algorithm>
#include <cstdint>
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
  GroupWriter(const std::vector<std::string>& paths,
              const match::NameClasses& classes, OutputStream& out,
              std::string_view decimal_separator)
      : paths_(paths),
        classes_(classes),
        out_(out),
        separator_(decimal_separator),
        free_after_(paths.size() + 1) {
    for (std::uint32_t slot = 0; slot < free_after_.size(); ++slot) {
      free_after_[slot] = slot;
    }
  }

  // Names come by ascending a, so when a's partners arrive every earlier
  // name has already had its chance to take a as a member.
  void Write(const match::NamePartners& partners) override {
    const match::NameId reference = partners.a;
    const std::uint32_t reference_slot = classes_.SlotOf(reference);
    if (Grouped(reference_slot)) return;
    // The ungrouped partners, b ascending: each run starts at its first
    // ungrouped name, and grouped names are stepped over in one jump, so a
    // name grouped long ago costs nothing to later references.
    cursors_.clear();
    for (const match::PartnerRun& run : partners.runs) {
      if (run.names.empty()) continue;
      const std::uint32_t begin = classes_.SlotOf(run.names.data());
      const std::uint32_t end =
          begin + static_cast<std::uint32_t>(run.names.size());
      const std::uint32_t slot = FreeFrom(begin);
      if (slot < end) {
        cursors_.push_back({slot, end, begin, run.names.data(), run.overlap});
      }
    }
    const auto later = [](const Cursor& x, const Cursor& y) {
      return x.Name() > y.Name();
    };
    std::make_heap(cursors_.begin(), cursors_.end(), later);
    bool opened = false;
    while (!cursors_.empty()) {
      std::pop_heap(cursors_.begin(), cursors_.end(), later);
      Cursor& cursor = cursors_.back();
      const match::NameId member = cursor.Name();
      if (!opened) {
        if (groups_ > 0) Line("");
        WriteShownPath(out_, paths_[reference]);
        Line("");
        Group(reference_slot);
        ++groups_;
        opened = true;
      }
      Group(cursor.slot);
      ++members_;
      out_.Write("    ");
      WriteShownPath(out_, paths_[member]);
      out_.Write("  [");
      out_.Write(std::to_string(cursor.overlap.found));
      out_.Write(" of ");
      out_.Write(std::to_string(cursor.overlap.words));
      out_.Write(" words, ");
      out_.Write(FormatPercentage(cursor.overlap.found, cursor.overlap.words,
                                  separator_));
      Line("%]");
      cursor.slot = FreeFrom(cursor.slot + 1);
      if (cursor.slot < cursor.end) {
        std::push_heap(cursors_.begin(), cursors_.end(), later);
      } else {
        cursors_.pop_back();
      }
    }
  }

  void End(const ScanTotals& totals) override {
    if (groups_ > 0) Line("");
    out_.Write(std::to_string(groups_));
    out_.Write(groups_ == 1 ? " group, " : " groups, ");
    out_.Write(std::to_string(groups_ + members_));
    out_.Write(" files in groups, ");
    out_.Write(std::to_string(totals.pairs));
    out_.Write(totals.pairs == 1 ? " matching pair, " : " matching pairs, ");
    out_.Write(std::to_string(totals.files));
    Line(totals.files == 1 ? " file scanned" : " files scanned");
  }

 private:
  // What is left of a run: slots [slot, end) of the member lists, whose
  // names start at slot `begin` in `names`.
  struct Cursor {
    std::uint32_t slot;
    std::uint32_t end;
    std::uint32_t begin;
    const match::NameId* names;
    match::Overlap overlap;

    match::NameId Name() const { return names[slot - begin]; }
  };

  // free_after_ links each grouped slot towards the next ungrouped one
  // (halving the paths as they are walked); an ungrouped slot links to
  // itself, and the slot past the end stays ungrouped.
  std::uint32_t FreeFrom(std::uint32_t slot) {
    while (free_after_[slot] != slot) {
      free_after_[slot] = free_after_[free_after_[slot]];
      slot = free_after_[slot];
    }
    return slot;
  }
  // Ends a line of the output with `tail`; each line is a record.
  void Line(std::string_view tail) {
    out_.Write(tail);
    out_.Put('\n');
    out_.EndRecord();
  }

  bool Grouped(std::uint32_t slot) const { return free_after_[slot] != slot; }
  void Group(std::uint32_t slot) { free_after_[slot] = slot + 1; }

  const std::vector<std::string>& paths_;
  const match::NameClasses& classes_;
  OutputStream& out_;
  std::string separator_;
  std::vector<std::uint32_t> free_after_;
  std::vector<Cursor> cursors_;
  std::size_t groups_ = 0;
  std::size_t members_ = 0;
};

}  // namespace

std::unique_ptr<PairWriter> MakeGroupWriter(
    const std::vector<std::string>& paths, const match::NameClasses& classes,
    OutputStream& out, std::string_view decimal_separator) {
  return std::make_unique<GroupWriter>(paths, classes, out, decimal_separator);
}

}  // namespace wordlap::report
