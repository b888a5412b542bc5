// Directives: comments that silence warnings for the next rule line, their
// own line or the whole file, and W199 for a code they cannot silence.
#include <cstdint>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

constexpr const char directive_word[] = "applist-lint";
constexpr const char disable_word[] = "disable";
constexpr const char disable_file_word[] = "disable-file";

// What a directive comment says.
enum class bad_code_kind : std::uint8_t { none, unknown, error, itself };
struct directive {
    bool found = false;
    bool whole_file = false;
    code_mask codes = 0;
    bad_code_kind bad = bad_code_kind::none;  // the first code that cannot be silenced
    const char* bad_code = nullptr;
    std::size_t bad_length = 0;
};

// Skips the blanks from `p` up to `end`.
const char* skip_blanks(const char* p, const char* end) {
    while (p < end && is_blank(*p)) ++p;
    return p;
}

// Whether the bytes from `p` start with `word`; moves `p` past it if so.
bool take_word(const char*& p, const char* end, const char* word) {
    const std::size_t length = std::strlen(word);
    if (static_cast<std::size_t>(end - p) < length || std::memcmp(p, word, length) != 0) return false;
    p += length;
    return true;
}

// Reads the comment text after a '#' (`length` bytes) as
// "applist-lint: disable[-file]=CODE[,CODE...]", blanks allowed around ':',
// '=' and ','. A code is a run of bytes other than blanks, ',' and '#'; what
// follows the list (a reason, say) is not read.
directive read_directive(const char* comment, std::size_t length) {
    directive d;
    const char* const end = comment + length;
    const char* p = skip_blanks(comment, end);
    if (!take_word(p, end, directive_word)) return d;
    p = skip_blanks(p, end);
    if (p == end || *p != ':') return d;
    p = skip_blanks(p + 1, end);
    if (take_word(p, end, disable_file_word)) {
        d.whole_file = true;
    } else if (!take_word(p, end, disable_word)) {
        return d;
    }
    p = skip_blanks(p, end);
    if (p == end || *p != '=') return d;
    d.found = true;
    for (p = skip_blanks(p + 1, end);;) {
        const char* code_end = p;
        while (code_end < end && !is_blank(*code_end) && *code_end != ',' && *code_end != '#') ++code_end;
        lint_code code{};
        bad_code_kind bad = bad_code_kind::none;
        if (!find_code(p, static_cast<std::size_t>(code_end - p), code))
            bad = bad_code_kind::unknown;
        else if (directive_may_silence(code))
            d.codes |= bit(code);
        else
            bad = is_error(code) ? bad_code_kind::error : bad_code_kind::itself;
        if (bad != bad_code_kind::none && d.bad == bad_code_kind::none) {
            d.bad = bad;
            d.bad_code = p;
            d.bad_length = static_cast<std::size_t>(code_end - p);
        }
        p = skip_blanks(code_end, end);
        if (p == end || *p != ',') return d;
        p = skip_blanks(p + 1, end);
    }
}

}  // namespace

void lint_sink::apply_directive(const char* comment, std::size_t length, std::size_t at, bool for_this_line) {
    const directive d = read_directive(comment, length);
    if (!d.found) return;
    if (d.whole_file)
        file_disabled_ |= d.codes;
    else if (for_this_line)
        line_disabled_ |= d.codes;
    else
        pending_disabled_ |= d.codes;
    if (d.bad == bad_code_kind::none) return;
    char code[max_line_length + 1];
    copy_text(code, d.bad_code, d.bad_length);
    text_buffer message;
    std::size_t message_length = 0;
    switch (d.bad) {
        case bad_code_kind::unknown: message_length = text_w199_unknown(message, code); break;
        case bad_code_kind::error: message_length = text_w199_error(message, code); break;
        case bad_code_kind::itself: message_length = text_w199_itself(message); break;
        case bad_code_kind::none: break;
    }
    add(lint_code::w199, at, message, message_length);
}
