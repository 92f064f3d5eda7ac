#include "model/Form12.h"
#include "platform/Desktop.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace rahmen {
namespace {

std::set<std::string> shownLines(Form12& progress) {
    std::set<std::string> shown;
    for (const Primitive& p : progress.picture()->items())
        if (p.shape == Shape::Text) shown.insert(p.text);
    return shown;
}

// An analysis prints more lines than the picture holds: the latest stay in
// view while it runs, and afterwards the scroll bar brings back every line,
// the band width between the marker lines too.
TEST(ProgressWindow, EveryPrintedLineCanBeScrolledBackIntoView) {
    Desktop desktop;
    Form12 progress(desktop);
    progress.begin(3);
    EXPECT_FALSE(progress.c("VSCROLL1").enabled);
    const int count = 48;
    for (int i = 0; i < count; ++i)
        progress.print("line " + std::to_string(i));
    progress.finish();

    EXPECT_TRUE(shownLines(progress).count("line 47"));
    EXPECT_FALSE(shownLines(progress).count("line 0"));
    const Control& bar = progress.c("VSCROLL1");
    ASSERT_TRUE(bar.enabled);
    std::set<std::string> seen;
    for (int pos = bar.scrollMin; pos <= bar.scrollMax; pos += bar.smallStep) {
        ASSERT_TRUE(progress.scrollTo("VSCROLL1", pos));
        const std::set<std::string> shown = shownLines(progress);
        EXPECT_LE(static_cast<int>(shown.size()), Form12::visibleLines());
        seen.insert(shown.begin(), shown.end());
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(count));
    ASSERT_TRUE(progress.scrollTo("VSCROLL1", 0));
    EXPECT_TRUE(shownLines(progress).count("line 0"));

    // A new operation starts with an empty picture and no bar.
    progress.begin(3);
    EXPECT_FALSE(progress.c("VSCROLL1").enabled);
    EXPECT_TRUE(shownLines(progress).empty());
}

} // namespace
} // namespace rahmen
