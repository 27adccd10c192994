#pragma once

#include "vocab/LoadResult.h"

#include <optional>
#include <string>
#include <vector>

namespace lookup {

// What a window tells at its start, in UTF-8, one notice per text. The
// font's notice comes first: a window registers the font before it loads
// the lists (Windows' before its window exists).
[[nodiscard]] std::optional<std::string> fontNotice(bool fontRegistered);
// A missing list by name; any other failure with its reason, the program's
// own in Chinese ("（这是文件夹，不是文件）"), the system's in the user's language.
[[nodiscard]] std::vector<std::string> listNotices(const vocab::LoadResult& loaded);

} // namespace lookup
