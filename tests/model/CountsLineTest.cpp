#include "model/CountsLine.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rahmen {
namespace {

// The counts line of each file kind, with and without the fields older
// reports leave out, and a count beyond its limit.
TEST(CountsLine, ReadsEveryFieldAndTheOptionalOnesOnlyWhereTheirLabelStands) {
    const struct {
        const char* line;
        std::vector<int> counts; // 節点数, 部材数, 支持点数 (-1 absent), 荷重点数, 等分布荷重材数
        const char* after;   // the item read after the line
        const char* problem; // "" when the line reads
    } cases[] = {
        {"節点数: 4  部材数: 3  支持点数: 2  荷重点数: 1  等分布荷重材数: 2\r\n\r\nE",
         {4, 3, 2, 1, 2},
         "E",
         ""},
        {"節点数: 4  部材数: 3  荷重点数: 1\r\n\r\nE", {4, 3, -1, 1, -1}, "E", ""},
        {"節点数: 4  部材数: 3  支持点数: 5  荷重点数: 1\r\n\r\nE",
         {},
         "",
         "a.adt の 1 行目: 支持点数は 4 までです（5 が指定されました）。"},
        {"\r\n節点数: -1  部材数: 3\r\n\r\nE",
         {},
         "",
         "a.adt の 2 行目: 節点数に負の値 -1 は指定できません。"},
    };
    for (const auto& c : cases) {
        ItemReader in(utf8ToCp932(c.line), "a.adt");
        if (c.line[0] == '\r') in.skipItems(1);
        CountsLine line(in);
        try {
            std::vector<int> counts;
            counts.push_back(line.count("節点数", 1500));
            counts.push_back(line.count("部材数", 3000));
            counts.push_back(line.optionalCount("支持点数", counts[0]));
            counts.push_back(line.count("荷重点数", 1500));
            counts.push_back(line.optionalCount("等分布荷重材数", 3000));
            if (counts.back() >= 0) in.skipItems(1);
            EXPECT_EQ(counts, c.counts) << c.line;
            EXPECT_EQ(in.readText(), c.after) << c.line;
            EXPECT_STREQ("", c.problem) << c.line;
        } catch (const DataFileError& e) {
            EXPECT_EQ(std::string(e.what()), c.problem);
        }
    }
}

} // namespace
} // namespace rahmen
