// parse_cpu_ranges: result, exact set and error text for each CPU list, with
// and without a set every CPU must be in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cpu_set_text.h"
#include "cpuset/cpuset.h"

namespace {

constexpr const char untouched[] = "untouched";
constexpr const char no_check[] = "-";

struct list_row {
    std::string text;
    std::string check;  // the check set as a list, or no_check
    int result;
    std::string set;    // what the parse leaves in an empty set
    std::string error;  // the error buffer afterwards (untouched when nothing failed)
};

struct parse_outcome {
    int result;
    cpu_set_t set;
    std::string error;
};

parse_outcome parse(const std::string& text, const std::string& check) {
    parse_outcome o{};
    CPU_ZERO(&o.set);
    const cpu_set_t check_set = make_cpu_set(check == no_check ? "" : check);
    char err[cpu_error_size];
    std::memcpy(err, untouched, sizeof untouched);
    // Exactly as long as the text, so a read past its end is caught by the
    // sanitizers.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    o.result = parse_cpu_ranges(buffer.data(), &o.set, check == no_check ? nullptr : &check_set, err, sizeof err);
    EXPECT_EQ(std::string(buffer.data()), text) << "text changed: '" << text << "'";
    o.error = err;
    return o;
}

void run_rows(const std::vector<list_row>& rows) {
    for (const list_row& row : rows) {
        const parse_outcome o = parse(row.text, row.check);
        const std::string where = "text '" + row.text + "' check '" + row.check + "'";
        EXPECT_EQ(o.result, row.result) << where;
        EXPECT_EQ(cpu_list_text(o.set), row.set) << where;
        EXPECT_EQ(o.error, row.error) << where;
    }
}

TEST(CpuList, WithoutCheckSet) {
    run_rows({
        {"", no_check, 1, "", untouched},
        {"abc", no_check, 1, "", untouched},
        {",,,", no_check, 1, "", untouched},
        {"0", no_check, 1, "0", untouched},
        {"0-3", no_check, 1, "0-3", untouched},
        {"0-3,6", no_check, 1, "0-3,6", untouched},
        {"0 2;4", no_check, 1, "0,2,4", untouched},
        {" 1 , 2 ", no_check, 1, "1-2", untouched},
        {"x1y2z", no_check, 1, "1-2", untouched},
        {"+3", no_check, 1, "3", untouched},
        {"7-7", no_check, 1, "7", untouched},
        // Base 0 for N: hexadecimal and octal.
        {"0x10", no_check, 1, "16", untouched},
        {"010", no_check, 1, "8", untouched},
        {"08", no_check, 1, "0,8", untouched},
        // M is always decimal.
        {"1-010", no_check, 1, "1-10", untouched},
        {"0x3-0x5", no_check, 0, "5", "3-0"},
        // strtoul skips blanks and takes a sign after the '-'.
        {"5- 7", no_check, 1, "5-7", untouched},
        {"5--3", no_check, 1, "5-1023", untouched},
        // Negative N is far above 1023: dropped, not failed.
        {"-1", no_check, 1, "", untouched},
        {"0,-1", no_check, 1, "0", untouched},
        {"-3-5", no_check, 0, "", "18446744073709551613-5"},
        {"3 -5", no_check, 1, "3", untouched},
        {"1-2-3", no_check, 1, "1-2", untouched},
        // A '-' with no number after it.
        {"5-", no_check, 1, "5", untouched},
        {"5-,7", no_check, 1, "5,7", untouched},
        {"5-x7", no_check, 1, "5,7", untouched},
        // Reversed ranges fail their item only.
        {"3-1", no_check, 0, "", "3-1"},
        {"3-1,4", no_check, 0, "4", "3-1"},
        {"2000-1500", no_check, 0, "", "2000-1500"},
        // Above the set's reach.
        {"1023", no_check, 1, "1023", untouched},
        {"1024", no_check, 1, "", untouched},
        {"2000", no_check, 1, "", untouched},
        {"1000-2000", no_check, 1, "1000-1023", untouched},
        {"0-1023", no_check, 1, "0-1023", untouched},
        {"99999999999999999999", no_check, 1, "", untouched},
        {"1-99999999999999999999", no_check, 1, "1-1023", untouched},
    });
}

TEST(CpuList, WithCheckSetZeroToSeven) {
    const std::string c = "0-7";
    run_rows({
        {"0-7", c, 1, "0-7", untouched},
        {"", c, 1, "", untouched},
        {"abc", c, 1, "", untouched},
        {"6-9", c, 0, "6-7", "6-9"},
        {"9", c, 0, "", "9"},
        {"8-8", c, 0, "", "8"},
        {"0-3,9,5", c, 0, "0-3,5", "9"},
        {"7-8,3", c, 0, "3,7", "7-8"},
        {"9-4", c, 0, "", "9-4"},
        {"0x8", c, 0, "", "8"},
        {"010", c, 0, "", "8"},
        {"1000-2000", c, 0, "", "1000-2000"},
        {"2000", c, 1, "", untouched},
        {"0,2000", c, 1, "0", untouched},
        {"0,-1", c, 1, "0", untouched},
        {"5--3", c, 0, "5-7", "5-18446744073709551613"},
        // The last failing item's text stays.
        {"9,10-12", c, 0, "", "10-12"},
        {"3-1,9", c, 0, "", "9"},
        {"9,3-1,4", c, 0, "4", "3-1"},
    });
}

TEST(CpuList, CheckSetWithGaps) {
    const std::string c = "0-3,6-7";
    run_rows({
        {"0-7", c, 0, "0-3", "0-7"},
        {"4", c, 0, "", "4"},
        {"5,6", c, 0, "6", "5"},
        {"6-7,0", c, 1, "0,6-7", untouched},
    });
}

TEST(CpuList, BitsAlreadySetAreNeverCleared) {
    const cpu_set_t check = make_cpu_set("0-7");
    for (const char* text : {"0-3", "", "abc", "3-1", "9", "6-9"}) {
        cpu_set_t set = make_cpu_set("2,100,1023");
        (void)parse_cpu_ranges(text, &set, nullptr, nullptr, 0);
        cpu_set_t expected = make_cpu_set("2,100,1023");
        cpu_set_t parsed;
        CPU_ZERO(&parsed);
        (void)parse_cpu_ranges(text, &parsed, nullptr, nullptr, 0);
        CPU_OR(&expected, &expected, &parsed);
        EXPECT_EQ(cpu_list_text(set), cpu_list_text(expected)) << "text '" << text << "' without check";

        // Bits outside the check set survive a checked parse too.
        cpu_set_t checked = make_cpu_set("2,100,1023");
        (void)parse_cpu_ranges(text, &checked, &check, nullptr, 0);
        EXPECT_TRUE(CPU_ISSET(2, &checked) && CPU_ISSET(100, &checked) && CPU_ISSET(1023, &checked))
            << "text '" << text << "' with check";
    }
}

TEST(CpuList, ErrorTextIsCutToTheBuffer) {
    struct cut_row {
        std::size_t size;
        std::string error;
    };
    for (const cut_row& row : std::vector<cut_row>{{64, "18446744073709551613-5"},
                                                   {23, "18446744073709551613-5"},
                                                   {22, "18446744073709551613-"},
                                                   {4, "184"},
                                                   {2, "1"},
                                                   {1, ""}}) {
        char err[80];
        std::memset(err, '@', sizeof err);
        cpu_set_t set;
        CPU_ZERO(&set);
        EXPECT_EQ(parse_cpu_ranges("-3-5", &set, nullptr, err, row.size), 0) << "size " << row.size;
        EXPECT_EQ(std::string(err), row.error) << "size " << row.size;
        EXPECT_EQ(err[row.size], '@') << "wrote past the buffer of size " << row.size;
    }
}

TEST(CpuList, MissingErrorBufferIsSafe) {
    const cpu_set_t check = make_cpu_set("0-7");
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(parse_cpu_ranges("3-1,5,9", &set, &check, nullptr, 64), 0);
    EXPECT_EQ(cpu_list_text(set), "5");

    char err[8] = "kept";
    CPU_ZERO(&set);
    EXPECT_EQ(parse_cpu_ranges("3-1,5,9", &set, &check, err, 0), 0);
    EXPECT_STREQ(err, "kept");
    EXPECT_EQ(cpu_list_text(set), "5");
}

}  // namespace
