// Node lines the fuzzer (fuzz/fuzz_widgettext.cpp) found not to survive a write and a read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/widgets/treeview/TreeFixture.h"

namespace qel::test {
namespace {

using Lines = std::vector<std::string>;

// A line of nothing but blanks and CRs is blank: it made a node with empty text, which was
// written as an empty line and vanished on the next read. Every trailing CR goes, not only the
// last, or the next read would take another one off.
TEST_F(TreeTest, LinesOfBlanksAndCarriageReturnsAreBlankAndTrailingCRsAllGo) {
  Build({"a", "\r", "\t \r", "\tb\r\r", "c\r\r\r", "\r\r"});
  const Lines first = Tree->GetItems()->GetNodeLines();
  EXPECT_EQ(first, (Lines{"a", "\tb", "c"}));
  Build(first);
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(), first);
  // A CR inside the text is the node's own.
  Build({"x\ry\r"});
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(), Lines{"x\ry"});
}

}  // namespace
}  // namespace qel::test
