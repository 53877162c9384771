// Names that look like a copy of another file's name.
#pragma once

#include <string_view>

namespace wordlap::group {

// True when the file name of `path`, its extension aside and ignoring the
// case of ASCII letters, has the marks file managers and browsers give a
// copy: "Copy of X", "Copy (2) of X", "X - Copy", "X - Copy (3)", "X copy",
// "X copy 2", "X copy (2)", "X_copy", "X (1)", "X(2)", "X~".
bool LooksLikeCopy(std::string_view path);

}  // namespace wordlap::group
