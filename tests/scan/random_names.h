// Random collections of file paths made to hold many matching pairs and the
// names that are hard on a word index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wordlap::scan::test {

// `count` paths from `seed`: shared words in several spellings (case,
// composed and decomposed accents, sharp s), separator runs that give empty
// entries, one-word names, repeated words, names without words or with a single
// empty entry, ill-formed UTF-8, long names where one missing word is allowed,
// and renamed copies of earlier names (reordered, a word dropped or added,
// other case and separators) so that many pairs match and many just miss.
std::vector<std::string> RandomPaths(std::uint32_t seed, std::size_t count);

// `count` paths in distinct folders whose file names repeat: a few names of
// RandomPaths very often, most a few times, interleaved in list order.
std::vector<std::string> RepeatedNames(std::uint32_t seed, std::size_t count);

}  // namespace wordlap::scan::test
