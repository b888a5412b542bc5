// Directives: comments that silence warnings for the next rule line, their
// own line or the whole file, and W199 for a code they cannot silence.
#include <unistd.h>

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

// Where a "disable-file" directive might be.
constexpr const char whole_file_mark[] = "disable-file";
constexpr std::size_t whole_file_mark_length = sizeof whole_file_mark - 1;

// The codes a disable-file directive of the line `text` (`length` bytes)
// silences, read as begin_line reads it.
code_mask whole_file_codes(const char* text, std::size_t length) {
    if (length > max_line_length) return 0;  // never parsed
    const auto* nul = static_cast<const char*>(std::memchr(text, '\0', length));
    const std::size_t end = nul != nullptr ? static_cast<std::size_t>(nul - text) : length;
    std::size_t first = 0;
    while (first < end && is_blank(text[first])) ++first;
    if (first == end) return 0;
    const std::size_t comment = text[first] == '#' ? first : comment_at(text, first, end);
    if (comment == end) return 0;
    const directive d = read_directive(text + comment + 1, end - comment - 1);
    return d.found && d.whole_file ? d.codes : 0;
}

struct directive_pass {
    const char* data;
    std::size_t size;
    std::size_t page_size;  // 0: pages are never dropped
    code_mask codes;
};

// Looks for the mark a step at a time, dropping the pages read behind it;
// reads each line that holds it.
void read_file_directives(void* context) {
    auto& pass = *static_cast<directive_pass*>(context);
    const char* const data = pass.data;
    const char* const end = data + pass.size;
    const char* const page_start =
        pass.page_size == 0 ? data : data - reinterpret_cast<std::uintptr_t>(data) % pass.page_size;
    std::size_t released = 0;
    for (const char* at = data; at < end;) {
        const std::size_t left = static_cast<std::size_t>(end - at);
        const std::size_t window = left < page_release_step + whole_file_mark_length ? left
                                                                                     : page_release_step + whole_file_mark_length;
        const auto* hit = static_cast<const char*>(memmem(at, window, whole_file_mark, whole_file_mark_length));
        if (hit == nullptr) {
            at += window > whole_file_mark_length ? window - whole_file_mark_length : window;
            if (window == left) at = end;
        } else {
            // The line around it, if it is short enough to be parsed.
            const char* start = hit;
            while (start > data && start[-1] != '\n' && static_cast<std::size_t>(hit - start) <= max_line_length)
                --start;
            if (start == data || start[-1] == '\n') {
                const std::size_t room = static_cast<std::size_t>(end - start);
                const std::size_t limit = room < max_line_length + 1 ? room : max_line_length + 1;
                const auto* feed = static_cast<const char*>(std::memchr(start, '\n', limit));
                const char* line_end = feed != nullptr ? feed : start + limit;
                pass.codes |= whole_file_codes(start, static_cast<std::size_t>(line_end - start));
            }
            at = hit + 1;
        }
        if (pass.page_size != 0) release_read_pages(page_start, at, pass.page_size, released);
    }
}

}  // namespace

std::size_t comment_at(const char* text, std::size_t first, std::size_t end) {
    const auto* equals = static_cast<const char*>(std::memchr(text + first, '=', end - first));
    if (equals == nullptr) return end;
    const auto after = static_cast<std::size_t>(equals - text) + 1;
    const auto* hash = static_cast<const char*>(std::memchr(text + after, '#', end - after));
    return hash != nullptr ? static_cast<std::size_t>(hash - text) : end;
}

code_mask file_directives(const char* data, std::size_t size, bool drop_read_pages) {
    directive_pass pass{data, size, drop_read_pages ? static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0, 0};
    (void)run_guarded(data, size, read_file_directives, &pass);
    return pass.codes;
}

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
