#include "cli/duplicate_options.h"

#include <CLI/CLI.hpp>

#include "cli/command.h"

namespace wordlap::cli {
namespace {

std::uint64_t SizeValue(const std::string& option, const std::string& value) {
  const auto size = collect::ParseSize(value);
  if (!size) {
    throw UsageError(option + ": not a size: '" + value +
                     "' (bytes, or a number with k, M, G or T)");
  }
  return *size;
}

}  // namespace

void AddDuplicateOptions(CLI::App& command, DuplicateOptions& options) {
  command.add_flag("--same-size", options.same_size,
                   "Report a pair only when the two files have the same size");
  command.add_flag("--same-content", options.same_content,
                   "Report a pair only when the two files are byte-identical "
                   "(same size, then the same XXH3-128 hash; only files with "
                   "a name match of equal size are read); groups then hold "
                   "only identical files");
  command.add_flag("--renamed-only", options.renamed_only,
                   "Skip pairs whose file names are byte for byte the same: "
                   "only renamed copies");
  command
      .add_option_function<std::uint32_t>(
          "--min-words",
          [&options](std::uint32_t n) { options.filter.min_words = n; },
          "Leave out files whose name has fewer than N non-empty words, so "
          "a pair counts only when the name with fewer words has N")
      ->type_name("N")
      ->default_str("0");
  command
      .add_option("--exclude", options.filter.exclude,
                  "Leave out files whose path below the scanned folder, or "
                  "one of its folders or its file name, matches this glob "
                  "(* also matches /); repeatable")
      ->type_name("PATTERN")
      ->allow_extra_args(false);
  command
      .add_option_function<std::string>(
          "--min-size",
          [&options](const std::string& value) {
            options.filter.min_size = SizeValue("--min-size", value);
          },
          "Leave out files smaller than SIZE bytes (k, M, G, T: powers of "
          "1024)")
      ->type_name("SIZE");
  command
      .add_option_function<std::string>(
          "--max-size",
          [&options](const std::string& value) {
            options.filter.max_size = SizeValue("--max-size", value);
          },
          "Leave out files larger than SIZE bytes")
      ->type_name("SIZE");
  command.add_flag("--hidden", options.filter.hidden,
                   "Also scan hidden files and folders (names starting with "
                   "'.') found while walking; without it they are left out");
  command
      .add_option_function<std::string>(
          "--keep",
          [&options](const std::string& value) {
            if (!group::ParseKeepRule(value, options.keep)) {
              throw UsageError("--keep: unknown rule '" + value +
                               "' (default, first, newest, oldest, "
                               "shortest-path or longest-path)");
            }
          },
          "Which file of a group stays: first (scan order), newest, oldest, "
          "shortest-path, longest-path, or default (scan order, but a name "
          "that looks like a copy, such as 'Copy of X' or 'X (1)', yields "
          "to one that does not); ties go to a name that is not a copy, then "
          "to scan order")
      ->type_name("RULE")
      ->default_str("default");
  command
      .add_option("--reference", options.references,
                  "Files under DIR always stay and are never offered for "
                  "removal; DIR is scanned too, and a group of reference "
                  "files only is not shown; repeatable")
      ->type_name("DIR")
      ->allow_extra_args(false);
}

}  // namespace wordlap::cli
