#include "platform/Diagnostics.h"

#include <gtest/gtest.h>
#include <optional>

TEST(DiagnosticCapture, EachHoldsTheLinesPrintedWhileItLivesAlsoWhenTheyOverlap) {
    DiagnosticCapture outer;
    printLine("before");
    std::optional<DiagnosticCapture> inner(std::in_place);
    printLine("during");
    EXPECT_EQ(inner->lines(), QStringList{"during"});
    inner->clear();
    EXPECT_EQ(outer.lines(), (QStringList{"before", "during"}));
    inner.reset();
    printLine("after");
    EXPECT_EQ(outer.lines(), (QStringList{"before", "during", "after"}));
}
