// Rule priority: exact names above patterns, bracket classes above '?' above
// '*', and within a kind the longer literal part first.
#include <cstring>

#include "rules/rules.h"

std::uint32_t calculate_rule_priority(const char* name) {
    if (name == nullptr || name[0] == '\0') return 200;

    std::uint32_t literal = 0;
    bool has_bracket = false;
    bool has_question = false;
    bool has_star = false;
    for (const char* p = name; *p != '\0'; ++p) {
        switch (*p) {
            case '[': has_bracket = true; break;
            case '?': has_question = true; break;
            case '*': has_star = true; break;
            default: ++literal; break;
        }
    }
    if (has_bracket) return literal + 500;
    if (has_question) return literal + 300;
    if (has_star) return literal + 100;
    return literal + 1000;
}
