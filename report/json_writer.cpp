#include <string>

#include "compare/percentage.h"
#include "report/json_text.h"
#include "report/pair_formats.h"

namespace wordlap::report {
namespace {

class JsonWriter final : public PairWriter {
 public:
  JsonWriter(const std::vector<std::string>& paths, OutputStream& out)
      : paths_(paths), out_(out) {}

  void Write(const match::NamePartners& partners) override {
    match::ForEachPartner(
        partners, [&](match::NameId b, const match::Overlap& m) {
          line_ = "{";
          AppendTextField(line_, "path_a", paths_[partners.a]);
          line_ += ',';
          AppendTextField(line_, "path_b", paths_[b]);
          line_ += ",\"found\":" + std::to_string(m.found) +
                   ",\"words\":" + std::to_string(m.words) +
                   ",\"percent\":" + FormatPercentage(m.found, m.words, ".") +
                   "}\n";
          out_.Write(line_);
          out_.EndRecord();
        });
  }

 private:
  const std::vector<std::string>& paths_;
  OutputStream& out_;
  std::string line_;
};

}  // namespace

std::unique_ptr<PairWriter> MakeJsonWriter(
    const std::vector<std::string>& paths, OutputStream& out) {
  return std::make_unique<JsonWriter>(paths, out);
}

}  // namespace wordlap::report
