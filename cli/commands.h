// The subcommands of `wordlap`. Each takes the arguments after its name and
// returns the exit status; wrong usage throws UsageError.
#pragma once

#include <span>
#include <stdexcept>
#include <string>

namespace wordlap::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Arguments = std::span<char* const>;

int RunInfo(Arguments args);
int RunCompare(Arguments args);
int RunScan(Arguments args);

// Reads the value of an option that takes one ("--plugin PATH"); advances
// `index` past it.
std::string OptionValue(Arguments args, std::size_t& index);

}  // namespace wordlap::cli
