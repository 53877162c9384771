// WordIndex: which names hold which word, and each name's rarest words.
//
// A pair matches only when fewer than a tenth of the iterated list's entries
// are missing from the other list. So if a name's rarest distinct words carry
// more entries than may be missing (its "key words"), a name it matches as
// the iterated side must hold at least one of them. Looking a name up by its
// key words alone keeps very common words ("the", "01", empty entries) from
// proposing most of the collection.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "match/name_table.h"

namespace wordlap::match {

class WordIndex {
 public:
  explicit WordIndex(const NameTable& table);

  // The names holding `word`, ascending. Names without entries are left out:
  // they never match.
  std::span<const NameId> NamesWith(WordId word) const {
    return Row(holders_, word);
  }

  // The names that have `word` among their key words, ascending.
  std::span<const NameId> NamesKeyedBy(WordId word) const {
    return Row(keyed_, word);
  }

  // The key words of `name`: its distinct words, rarest first (fewest names,
  // then lowest id), until they carry more entries than may be missing.
  std::span<const WordId> KeyWords(NameId name) const {
    return {key_words_.data() + key_offsets_[name],
            key_words_.data() + key_offsets_[name + 1]};
  }

 private:
  // A table of rows in one array: row r is values[starts[r], starts[r + 1]).
  struct Rows {
    std::vector<std::size_t> starts;
    std::vector<NameId> values;
  };
  static std::span<const NameId> Row(const Rows& rows, WordId word) {
    return {rows.values.data() + rows.starts[word],
            rows.values.data() + rows.starts[word + 1]};
  }

  Rows holders_;
  Rows keyed_;
  std::vector<std::size_t> key_offsets_;
  std::vector<WordId> key_words_;
};

}  // namespace wordlap::match
