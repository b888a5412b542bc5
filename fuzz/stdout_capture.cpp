// Capturing standard output at the descriptor level: the tool prints with
// printf, and a fuzzer runs hundreds of thousands of inputs, so the capture is
// set up once and each take() costs a flush, a read and a truncate.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_checks.h"

namespace {

int open_capture_file() {
#ifdef MFD_CLOEXEC
    const int fd = memfd_create("applist-stdout", MFD_CLOEXEC);
    if (fd >= 0) return fd;
#endif
    std::FILE* file = std::tmpfile();
    return file != nullptr ? dup(fileno(file)) : -1;
}

[[noreturn]] void give_up(const char* what) {
    std::perror(what);
    std::abort();
}

}  // namespace

stdout_capture::stdout_capture() {
    std::fflush(stdout);
    saved_stdout_ = dup(STDOUT_FILENO);
    capture_fd_ = open_capture_file();
    if (saved_stdout_ < 0 || capture_fd_ < 0 || dup2(capture_fd_, STDOUT_FILENO) < 0) give_up("stdout capture");
}

stdout_capture::~stdout_capture() {
    std::fflush(stdout);
    dup2(saved_stdout_, STDOUT_FILENO);
    close(saved_stdout_);
    close(capture_fd_);
}

std::string stdout_capture::take() {
    std::fflush(stdout);
    const off_t length = lseek(STDOUT_FILENO, 0, SEEK_CUR);
    if (length <= 0) return {};
    std::string printed(static_cast<std::size_t>(length), '\0');
    if (pread(capture_fd_, printed.data(), printed.size(), 0) != length) give_up("stdout capture read");
    if (lseek(STDOUT_FILENO, 0, SEEK_SET) != 0 || ftruncate(STDOUT_FILENO, 0) != 0) give_up("stdout capture reset");
    return printed;
}

int run_fuzz_check(fuzz_check check, const std::uint8_t* data, std::size_t size) {
    static stdout_capture capture;
    const std::string broken = check(data, size, capture);
    if (!broken.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
