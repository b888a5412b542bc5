// The lint of each file named on the command line: its bytes (a mapping, or
// standard input read whole), the checker's scan with the lint's sink, the
// verdicts on the file as a whole, written after the findings of its lines.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "lint/lint.h"
#include "rules/rules.h"

namespace {

constexpr int status_clean = 0;
constexpr int status_reported = 1;
constexpr int status_not_checked = 2;
constexpr std::size_t initial_input_size = std::size_t{64} << 10;

enum class input_result { read, empty, failed, no_memory };

// Standard input read to its end, in storage of its own.
struct input_bytes {
    char* data = nullptr;
    std::size_t size = 0;
    input_bytes() = default;
    input_bytes(const input_bytes&) = delete;
    input_bytes& operator=(const input_bytes&) = delete;
    ~input_bytes() { std::free(data); }
};

// Reads standard input whole into `in`. On failed, `error` is the errno.
input_result read_standard_input(input_bytes& in, int& error) {
    std::size_t capacity = 0;
    for (;;) {
        if (!grow_to_fit(in.data, capacity, in.size + 1, initial_input_size)) return input_result::no_memory;
        const ssize_t got = read(STDIN_FILENO, in.data + in.size, capacity - in.size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errno;
            return input_result::failed;
        }
        if (got == 0) return in.size == 0 ? input_result::empty : input_result::read;
        in.size += static_cast<std::size_t>(got);
    }
}

// The verdicts on a file as a whole, each with its text.
struct file_verdict {
    bool not_checked = false;  // E020
    text_buffer not_checked_text = {};
    std::size_t not_checked_length = 0;
    bool no_rule = false;  // E021
    bool read_failed = false;  // E022
    bool out_of_memory = false;  // E023, from out_of_memory_line on
    std::size_t out_of_memory_line = 0;
};

void set_text(text_buffer& out, std::size_t& out_length, const char* text, std::size_t length) {
    if (length >= sizeof out) length = sizeof out - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
    out_length = length;
}

// The body of the checker's own message for a fault of the whole file.
std::size_t checker_text(text_buffer& out, const fault& f) {
    char message[max_message_size];
    const std::size_t length = format_message(message, f, false, message_part::body);
    std::size_t kept = 0;
    set_text(out, kept, message, length);
    return kept;
}

// Writes what is known of the whole file once its lines have been written
// (a file that could not be read has none): E020, E021, E023, in that
// order. Returns the file's status.
int finish_file(output_state& out, const char* name, const file_verdict& verdict, bool lines_reported) {
    bool reported = lines_reported;
    const auto emit = [&](lint_code code, const char* text, std::size_t length) {
        write_finding(out, name, 0, 0, code, text, length);
        reported = true;
    };
    text_buffer text;
    if (verdict.not_checked) emit(lint_code::e020, verdict.not_checked_text, verdict.not_checked_length);
    if (verdict.no_rule) {
        fault f;
        f.kind = fault_kind::no_rule_loaded;
        emit(code_of(f.kind), text, checker_text(text, f));
    }
    if (verdict.out_of_memory) emit(lint_code::e023, text, text_out_of_memory(text, verdict.out_of_memory_line));
    if (verdict.not_checked || verdict.read_failed || verdict.out_of_memory) return status_not_checked;
    return reported ? status_reported : status_clean;
}

// Lints the `size` bytes at `data`, read as the file `name`, with `sink`,
// which writes the findings of each line as it ends. `mapped`: `data` is a
// private file mapping whose read pages may be dropped. Returns the file's
// status.
int lint_bytes(const char* name, const char* data, std::size_t size, bool mapped, const cpu_set_t& present_cpus,
               const char* present_text, lint_sink& sink, file_verdict& verdict, output_state& out) {
    rule_set set;
    if (!create_rule_set(set, present_cpus, present_text, sink)) {
        verdict.out_of_memory = true;
        verdict.out_of_memory_line = 1;
        return finish_file(out, name, verdict, false);
    }
    run_state state;
    sink.read_from_mapping(mapped);
    sink.silence_for_file(file_directives(data, size, mapped));
    check_lines(data, size, set, state, mapped);
    sink.finish_line();
    release_rule_set(set);

    verdict.no_rule = set.table.count == 0;
    verdict.read_failed = state.end == loop_end::read_failed;
    if (verdict.read_failed) {
        fault read_fault;
        read_fault.kind = fault_kind::file_read_failed;
        read_fault.line_number = state.line_number;
        read_fault.text = name;
        text_buffer text;
        sink.add_read_failure(state.line_number, text, checker_text(text, read_fault));
    }
    sink.write_line();
    if (state.end == loop_end::stopped || state.end == loop_end::table_full) {
        verdict.out_of_memory = true;
        verdict.out_of_memory_line = state.line_number;
    }
    if (sink.out_of_memory() && (!verdict.out_of_memory || sink.out_of_memory_line() < verdict.out_of_memory_line)) {
        verdict.out_of_memory = true;
        verdict.out_of_memory_line = sink.out_of_memory_line();
    }
    return finish_file(out, name, verdict, sink.reported());
}

int lint_file(const lint_options& options, const char* path, const cpu_set_t& present_cpus,
              const char* present_text, output_state& out) {
    const bool from_stdin = std::strcmp(path, "-") == 0;
    const char* name = from_stdin && options.stdin_name != nullptr ? options.stdin_name : path;
    finding_list list;
    lint_sink sink(options, list, out, name);
    file_verdict verdict;

    input_bytes in;
    file_mapping mapping;
    const char* data = nullptr;
    std::size_t size = 0;
    if (from_stdin) {
        int error = 0;
        switch (read_standard_input(in, error)) {
            case input_result::read: break;
            case input_result::empty:
                verdict.not_checked = true;
                verdict.not_checked_length = text_stdin_empty(verdict.not_checked_text);
                break;
            case input_result::failed:
                verdict.not_checked = true;
                verdict.not_checked_length = text_stdin_unreadable(verdict.not_checked_text, std::strerror(error));
                break;
            case input_result::no_memory:
                verdict.out_of_memory = true;
                verdict.out_of_memory_line = 1;
                break;
        }
        data = in.data;
        size = in.size;
    } else if (map_rule_file(path, mapping, sink)) {
        data = static_cast<const char*>(mapping.start);
        size = mapping.length;
    } else {
        verdict.not_checked = true;
        set_text(verdict.not_checked_text, verdict.not_checked_length, sink.file_fault_text(),
                 std::strlen(sink.file_fault_text()));
    }
    if (verdict.not_checked || verdict.out_of_memory) return finish_file(out, name, verdict, false);
    return lint_bytes(name, data, size, !from_stdin, present_cpus, present_text, sink, verdict, out);
}

// What every file of a run shares: the present CPUs (those of --cpus, or the
// kernel's) and the output, whose opening is written here.
struct lint_run {
    cpu_set_t present_cpus;
    char present_text[present_text_size] = {};
    output_state out;
    explicit lint_run(const lint_options& options) {
        CPU_ZERO(&present_cpus);
        if (options.cpus != nullptr)
            set_present_cpus(present_cpus, present_text, options.cpus);
        else
            read_present_cpus(present_cpus, present_text);
        out.format = options.format;
        out.unit = unit_of(options);
        begin_output(out);
    }
};

}  // namespace

int lint_buffer(const lint_options& options, const char* name, const char* data, std::size_t size) {
    lint_run run(options);
    finding_list list;
    lint_sink sink(options, list, run.out, name);
    file_verdict verdict;
    const int status = lint_bytes(name, data, size, false, run.present_cpus, run.present_text, sink, verdict, run.out);
    end_output(run.out);
    return options.exit_zero && status == status_reported ? status_clean : status;
}

int run_lint(const lint_options& options) {
    // The phone's data is read once, before any output.
    phone_data phone;
    if (!load_phone_data(options, phone)) return status_not_checked;
    lint_options with_phone = options;
    if (phone.have_packages || phone.have_threads) with_phone.phone = &phone;
    if (phone.have_cpus) with_phone.cpus = phone.cpus.data();
    lint_run run(with_phone);
    int status = status_clean;
    for (int i = 0; i < options.file_count; ++i) {
        const int file_status = lint_file(with_phone, options.files[i], run.present_cpus, run.present_text, run.out);
        if (file_status > status) status = file_status;
    }
    end_output(run.out);
    return options.exit_zero && status == status_reported ? status_clean : status;
}
