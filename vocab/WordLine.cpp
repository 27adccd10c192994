#include "vocab/WordLine.h"

#include "vocab/Mbcs.h"

namespace vocab {

namespace {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The end of line once trailing white space is removed, looking no further
// back than from (a character boundary). A white-space byte can be the second
// half of a character, so the characters are walked, but only when the line
// does end in such a byte.
std::size_t trimmedEnd(std::string_view line, std::size_t from) {
    const std::size_t n = line.size();
    if (n == 0 || !isSpace(line[n - 1])) {
        return n;
    }
    std::size_t end = from;
    for (std::size_t i = from; i < n;) {
        const std::size_t length = mbcs::charLength(line, i);
        if (length == 2 || !isSpace(line[i])) {
            end = i + length;
        }
        i += length;
    }
    return end;
}

} // namespace

WordLine WordLine::parse(std::string_view line) {
    const std::size_t n = line.size();
    std::size_t open = 0;
    std::size_t wordEnd = 0;
    while (open < n && line[open] != '[') {
        const std::size_t length = mbcs::charLength(line, open);
        if (length == 2 || !isBlank(line[open])) {
            wordEnd = open + length;
        }
        open += length;
    }

    WordLine parts;
    if (open == n) {
        parts.word = line.substr(0, trimmedEnd(line, 0));
        return parts;
    }
    parts.word = line.substr(0, wordEnd);
    const std::size_t close = mbcs::find(line, ']', open + 1);
    if (close == std::string_view::npos) {
        const std::size_t end = trimmedEnd(line, open + 1);
        parts.phonetic = line.substr(open + 1, end - open - 1);
        return parts;
    }
    parts.phonetic = line.substr(open + 1, close - open - 1);
    const std::size_t end = trimmedEnd(line, close + 1);
    std::size_t meaning = close + 1;
    while (meaning < end && isBlank(line[meaning])) {
        ++meaning;
    }
    parts.meaning = line.substr(meaning, end - meaning);
    return parts;
}

} // namespace vocab
