#include "text/csv.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(CsvField, QuotedWhereItWouldSplitARowAndNeverAFormula) {
    const std::pair<std::string, std::string> cases[] = {
        {"2020100001", "2020100001"},
        {"", ""},
        {"06", "06"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"one\r\ntwo", "\"one\r\ntwo\""},
        {"one\rtwo", "\"one\rtwo\""},
        {"one\ntwo", "\"one\ntwo\""},
        {"=1+2", "\"'=1+2\""},
        {"+81", "\"'+81\""},
        {"-5", "\"'-5\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"=\"x\",y", "\"'=\"\"x\"\",y\""},
        {"馬=1", "馬=1"},
        {"20" + std::string(1, '\0') + "21x", "\"20?21x\""},
        {"a\x01\tb\x7f", "\"a?\tb?\""},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(csvField(text), field) << text;
}

} // namespace
} // namespace zelkor
