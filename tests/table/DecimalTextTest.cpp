// Numbers spelled and read by our own code, held against the C library's
// printf and strtod: ties, values just beside them, every cent and tenth of a
// handheld field's range, and values of every size.
#include "DecimalText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::string Printf(double value, int decimals) {
    char format[8], text[400];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Values of every size from 1e-30 to 1e20, on a fixed pseudo-random walk.
std::vector<double> SpreadValues() {
    std::vector<double> values;
    std::uint64_t state = 88172645463325252ULL;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
        values.push_back(std::ldexp(unit, static_cast<int>(state % 168) - 100));
    }
    return values;
}
}  // namespace

TEST(DecimalText, SpellsEveryValueAsPrintf) {
    std::vector<double> values = {0.0,    -0.0,   0.125,   0.375,  2.675,  1.005,  0.05,    0.0005, 0.0015,
                                  0.5,    1.5,    2.5,     -0.001, -0.004, -2.5,   999.9995, 1e15,  -1e15,
                                  1e15 - 0.5, 123456.7, 4294967295.0, 1e-300, 5e-324, 1e300, NAN, INFINITY,
                                  -INFINITY, 0.045, 0.0045, 0.00049999999999999999};
    for (int i = 0; i <= 100000; ++i) {
        values.push_back(i * 0.1);
        values.push_back(i * 0.01);
        values.push_back(i * -0.01);
        values.push_back(i * 0.001);
        values.push_back(i * 0.0005);
    }
    for (double value : SpreadValues()) {
        values.push_back(value);
        values.push_back(-value);
    }
    int wrong = 0;
    for (double value : values)
        for (int decimals : {1, 2, 3, 0, 4}) {
            // Appended after the cells before it, which stay.
            CRowText row;
            row.Append("\"a\",");
            AppendFixed(row, value, decimals);
            if (row.View() != "\"a\"," + Printf(value, decimals) && ++wrong <= 5)
                ADD_FAILURE() << Printf(value, 20) << " with " << decimals << ": " << row.View() << " for "
                              << Printf(value, decimals);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(DecimalText, ReadsEveryNumberAsStrtod) {
    std::vector<std::string> texts = {"0",   "-0",    "+0.0", "19.99", "0.1", "123456789012345", "1234567890123456",
                                      ".5",  "5.",    "-.5",  "1e5",   "1E-5", "0.000000000000000000000001",
                                      "9007199254740993", "000000000000000000012.5", "1.0000000000000000000001",
                                      "4294967295.99", "-19.995", "+12.5", "99999999999999.9"};
    for (int i = 0; i <= 100000; ++i) {
        texts.push_back(Printf(i * 0.1, 1));
        texts.push_back(Printf(i * 0.01, 2));
        texts.push_back(Printf(i * -0.001, 3));
    }
    for (double value : SpreadValues()) texts.push_back(Printf(value, 17));
    int wrong = 0;
    for (const std::string& text : texts) {
        const double ours = ParseDecimal(text), theirs = std::strtod(text.c_str(), nullptr);
        if ((ours != theirs || std::signbit(ours) != std::signbit(theirs)) && ++wrong <= 5)
            ADD_FAILURE() << text << ": " << Printf(ours, 20) << " for " << Printf(theirs, 20);
    }
    EXPECT_EQ(wrong, 0);
}
