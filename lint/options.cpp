// The command line of applist-lint.
#include <getopt.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "cli/cli.h"
#include "lint/lint.h"

namespace {

// Values of the long options that have no short form.
constexpr int option_stdin_filename = 256;
constexpr int option_version = 257;
constexpr int option_packages = 258;
constexpr int option_threads = 259;
constexpr int option_adb = 260;
constexpr int option_column_unit = 261;
constexpr int option_exit_zero = 262;
// getopt's value for a file when files and options are read in one pass.
constexpr int file_argument = 1;

constexpr option long_options[] = {
    {"cpus", required_argument, nullptr, 'p'},
    {"format", required_argument, nullptr, 'f'},
    {"exclude", required_argument, nullptr, 'e'},
    {"severity", required_argument, nullptr, 's'},
    {"exit-zero", no_argument, nullptr, option_exit_zero},
    {"stdin-filename", required_argument, nullptr, option_stdin_filename},
    {"column-unit", required_argument, nullptr, option_column_unit},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, option_version},
    {"packages", required_argument, nullptr, option_packages},
    {"threads", required_argument, nullptr, option_threads},
    {"adb", no_argument, nullptr, option_adb},
    {nullptr, 0, nullptr, 0},
};
// A leading '-' hands each file over in its place among the options, whatever
// POSIXLY_CORRECT says; then ':' tells a missing argument from an unknown
// option; -c takes an optional argument so that it is always reported as -c,
// with or without one. getopt itself prints nothing (opterr is cleared).
constexpr const char short_options[] = "-:p:f:e:s:S:hc::";

// Whether `c` is one of the short options ('-' and ':' only steer getopt).
bool is_short_option(int c) {
    return c != ':' && c != '-' && c != 0 && c < 0x80 && std::strchr(short_options, c) != nullptr;
}

// Adds the codes of one -e argument to `excluded`. Returns false after a
// usage error.
bool exclude_codes(const char* me, const char* list, code_mask& excluded) {
    for (const char* item = list;;) {
        const char* comma = std::strchr(item, ',');
        const std::size_t length = comma != nullptr ? static_cast<std::size_t>(comma - item) : std::strlen(item);
        lint_code code{};
        if (!find_code(item, length, code)) {
            report_unknown_excluded_code(me, item, length);
            return false;
        }
        if (is_error(code)) {
            report_excluded_error_code(me, code_name(code));
            return false;
        }
        if (!directive_may_silence(code)) {
            report_excluded_w199(me);
            return false;
        }
        excluded |= bit(code);
        if (comma == nullptr) return true;
        item = comma + 1;
    }
}

// The unit --column-unit names, by unit_name.
bool find_unit(const char* name, column_unit& out) {
    constexpr column_unit units[] = {column_unit::byte, column_unit::character, column_unit::utf16};
    const auto* found = std::find_if(std::begin(units), std::end(units),
                                     [name](column_unit unit) { return std::strcmp(name, unit_name(unit)) == 0; });
    if (found == std::end(units)) return false;
    out = *found;
    return true;
}

}  // namespace

options_result read_lint_options(int argc, char** argv, lint_options& out) {
    const char* me = argc > 0 ? argv[0] : "applist-lint";
    opterr = 0;
    // The files are gathered at the front of argv, after its first element:
    // each goes to a slot getopt has already passed.
    int file_count = 0;
    int option = 0;
    while ((option = getopt_long(argc, argv, short_options, long_options, nullptr)) != -1) {
        switch (option) {
            case file_argument:
                argv[++file_count] = optarg;
                break;
            case 'p':
                out.cpus = optarg;
                break;
            case 'f':
                if (std::strcmp(optarg, "gcc") == 0) {
                    out.format = output_format::gcc;
                } else if (std::strcmp(optarg, "json") == 0) {
                    out.format = output_format::json;
                } else if (std::strcmp(optarg, "github") == 0) {
                    out.format = output_format::github;
                } else if (std::strcmp(optarg, "sarif") == 0) {
                    out.format = output_format::sarif;
                } else {
                    report_unknown_format(me, optarg);
                    return options_result::usage_error;
                }
                break;
            case 'e':
                if (!exclude_codes(me, optarg, out.excluded)) return options_result::usage_error;
                break;
            case 's':
            case 'S':
                if (std::strcmp(optarg, "warning") == 0) {
                    out.errors_only = false;
                } else if (std::strcmp(optarg, "error") == 0) {
                    out.errors_only = true;
                } else {
                    report_unknown_severity(me, optarg);
                    return options_result::usage_error;
                }
                break;
            case option_stdin_filename: out.stdin_name = optarg; break;
            case option_packages: out.packages_file = optarg; break;
            case option_threads: out.threads_file = optarg; break;
            case option_adb: out.adb = true; break;
            case option_exit_zero: out.exit_zero = true; break;
            case option_column_unit:
                if (!find_unit(optarg, out.unit)) {
                    report_unknown_column_unit(me, optarg);
                    return options_result::usage_error;
                }
                break;
            case 'h': return options_result::help;
            case option_version: return options_result::version;
            case 'c': report_dash_c(me); return options_result::usage_error;
            case ':': report_missing_argument(me, argv[optind - 1]); return options_result::usage_error;
            default: {
                // getopt names an unknown short option in optopt; an unknown
                // long option, or a long one given an argument it does not
                // take (optopt is then that option's own value), is the
                // argument just read.
                if (optopt != 0 && optopt < 0x80 && !is_short_option(optopt)) {
                    const char short_option[3] = {'-', static_cast<char>(optopt), '\0'};
                    report_unknown_option(me, short_option);
                } else {
                    report_unknown_option(me, argv[optind - 1]);
                }
                return options_result::usage_error;
            }
        }
    }

    // After "--", the rest are files.
    for (int i = optind; i < argc; ++i) argv[++file_count] = argv[i];
    out.files = argv + 1;
    out.file_count = file_count;
    if (out.file_count == 0) {
        report_no_file(me);
        return options_result::usage_error;
    }
    int stdin_count = 0;
    for (int i = 0; i < out.file_count; ++i)
        if (std::strcmp(out.files[i], "-") == 0) ++stdin_count;
    if (stdin_count > 1) {
        report_stdin_twice(me);
        return options_result::usage_error;
    }
    if (out.stdin_name != nullptr && stdin_count == 0) {
        report_stdin_name_without_stdin(me);
        return options_result::usage_error;
    }
    if (out.cpus != nullptr && !check_cpu_list(out.cpus, nullptr)) {
        report_bad_cpu_list(me, out.cpus);
        return options_result::usage_error;
    }
    return options_result::run;
}
