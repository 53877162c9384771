#include <string>

#include "compare/percentage.h"
#include "report/pair_formats.h"

namespace wordlap::report {
namespace {

void WriteField(OutputStream& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.Write(field);
    return;
  }
  out.Put('"');
  for (const char c : field) {
    if (c == '"') out.Put('"');
    out.Put(c);
  }
  out.Put('"');
}

class CsvWriter final : public PairWriter {
 public:
  CsvWriter(const std::vector<std::string>& paths, OutputStream& out)
      : paths_(paths), out_(out) {}

  void Begin() override {
    out_.Write("path_a,path_b,found,words,percent\r\n");
    out_.EndRecord();
  }

  void Write(const match::NamePartners& partners) override {
    match::ForEachPartner(partners,
                          [&](match::NameId b, const match::Overlap& m) {
                            WriteField(out_, paths_[partners.a]);
                            out_.Put(',');
                            WriteField(out_, paths_[b]);
                            out_.Put(',');
                            out_.Write(std::to_string(m.found));
                            out_.Put(',');
                            out_.Write(std::to_string(m.words));
                            out_.Put(',');
                            out_.Write(FormatPercentage(m.found, m.words, "."));
                            out_.Write("\r\n");
                            out_.EndRecord();
                          });
  }

 private:
  const std::vector<std::string>& paths_;
  OutputStream& out_;
};

}  // namespace

std::unique_ptr<PairWriter> MakeCsvWriter(const std::vector<std::string>& paths,
                                          OutputStream& out) {
  return std::make_unique<CsvWriter>(paths, out);
}

}  // namespace wordlap::report
