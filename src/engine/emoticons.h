#pragma once

#include <array>
#include <string_view>

namespace tessalune::engine {

// The messenger's emoticon codes, grouped by length and searched longest first, so that
// no colour change ever falls inside one. Matched case-sensitively: codes that exist in
// both cases are listed once for each.
inline constexpr std::array<std::string_view, 2> kEmoticons5 = {"(bah)", "(brb)"};

inline constexpr std::array<std::string_view, 20> kEmoticons4 = {
    "<:o)", "(sn)", "(pl)", "(||)", "(pi)", "(so)", "(au)", "(ap)", "(um)", "(ip)",
    "(co)", "(mp)", "(st)", "(li)", "(mo)", "(ci)", "(yn)", "(h5)", "(xx)", "(tu)"};

inline constexpr std::array<std::string_view, 85> kEmoticons3 = {
    ":-)", ":-D", ":-d", ":->", ":-O", ":-o", ":-P", ":-p", ";-)", ":-(", ":-<", "8o|", ":-@", ":-S", ":-s",
    ":-|", ":'(", ":-$", "(H)", "(h)", "(A)", "(a)", "(6)", ":-#", "8-|", "^o)", ":-*", "+o(", ":^)", "*-)",
    "8-)", "|-)", "(C)", "(c)", "(Y)", "(y)", "(N)", "(n)", "(B)", "(b)", "(D)", "(d)", "(X)", "(x)", "(Z)",
    "(z)", "({)", "(})", ":-[", "(^)", "(L)", "(l)", "(U)", "(u)", "(K)", "(k)", "(G)", "(g)", "(F)", "(f)",
    "(W)", "(w)", "(P)", "(p)", "(~)", "(@)", "(&)", "(T)", "(t)", "(I)", "(i)", "(8)", "(S)", "(*)", "(E)",
    "(e)", "(O)", "(o)", "(M)", "(m)", "(%)", "(?)", "(R)", "(r)", "(#)"};

inline constexpr std::array<std::string_view, 17> kEmoticons2 = {
    ":)", ":D", ":d", ":>", ":O", ":o", ":P", ":p", ";)", ":(", ":<", ":@", ":S", ":s", ":|", ":$", ":["};

}  // namespace tessalune::engine
