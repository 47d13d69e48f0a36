// The rules for a player's name on the board, and the escaping that keeps any name from
// becoming markup on a page.
#pragma once
#include <string>
#include <string_view>

// The most characters a name may have.
constexpr size_t LongestName = 24;

// "" when `name` may stand on the board; else why not, in a few words. A name is 1 to
// LongestName characters of UTF-8, no control characters, and not only spaces.
std::string WhyNotAName(std::string_view name);
// Whether `text` is UTF-8 with no NUL byte: a replay is text.
bool IsText(std::string_view text);
// `text` with & < > " ' written as character references.
std::string EscapeHtml(std::string_view text);
