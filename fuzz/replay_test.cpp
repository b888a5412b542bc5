// Replays every file of the fuzz corpus, seeds and fixed findings alike,
// through the same checks the fuzzers run, so what a fuzzer once found stays
// fixed in builds without libFuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"

namespace {

std::vector<std::filesystem::path> corpus_files(const char* target) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path dir = std::filesystem::path(APPLIST_FUZZ_CORPUS_DIR) / target;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CorpusReplay : public ::testing::TestWithParam<fuzz_target> {};

TEST_P(CorpusReplay, EveryFileKeepsEveryInvariant) {
    const fuzz_target& target = GetParam();
    const std::vector<std::filesystem::path> files = corpus_files(target.name);
    ASSERT_FALSE(files.empty()) << "no corpus for " << target.name << " in " << APPLIST_FUZZ_CORPUS_DIR;
    for (const std::filesystem::path& file : files) {
        const std::string bytes = read_file(file);
        std::string broken;
        {
            stdout_capture capture;
            broken = target.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), capture);
        }
        EXPECT_EQ(broken, "") << "corpus file " << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(fuzz_targets),
                         [](const ::testing::TestParamInfo<fuzz_target>& info) { return std::string(info.param.name); });

}  // namespace

// Names the target in test output instead of dumping its bytes.
void PrintTo(const fuzz_target& target, std::ostream* out) { *out << target.name; }
