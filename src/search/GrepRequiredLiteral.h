// The text every match of a grep regular expression holds, found by reading the pattern as the
// regex module's parser reads it.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// A byte string that every match of the regular expression contains: the longest run of
// characters that stand for themselves at the top level of the pattern and that no quantifier
// can drop. The pattern is read in the module's syntax (Perl forms over Shift_JIS): repeat
// counts, escapes and their payloads, classes, quotes, comments and groups of every kind.
// Empty wherever that is not sure: alternatives at the top level, a case or extended option
// over it, callouts, a form this reading does not know, or a pattern the module refuses.
std::string RequiredLiteral(std::string_view regex);

// Where the class that opens at `at` (a "[") ends, just past its "]", as the module reads it:
// a "]" right after "[" or "[^" is a member, so is "[" unless it opens a POSIX bracket
// "[:name:]", and an escape takes the character after it. npos where the class never ends or
// the reading is unsure.
std::size_t RegexClassEnd(std::string_view regex, std::size_t at);

}  // namespace vorn
