#include "app/CCompactColumn.h"
#include "app/FitLines.h"
#include "tests/app/FitFixture.h"

using CompactColumnTest = FitFixture;

TEST_F(CompactColumnTest, BehavesLikeALineColumn)
{
    CCompactColumn column(app);
    EXPECT_EQ(column.LineCount(), 1u);
    EXPECT_EQ(column.LineAt(0)->GetLength(), 0u);
    EXPECT_EQ(column.LineAt(1), nullptr);
    column.AddLine("1.5", 3);
    column.AddLine("x\xf1", 2);
    column.DeleteFirstLine();
    ASSERT_EQ(column.LineCount(), 2u);
    EXPECT_EQ(CellValue(&column, 0), 1.5);
    EXPECT_TRUE(column.LineAt(1)->Equals("x\xf1"));
    EXPECT_EQ(CellValue(&column, 7), 0.0);  // a missing line reads as empty
    column.DeleteFirstLine();
    column.DeleteFirstLine();  // never below one line
    EXPECT_EQ(column.LineCount(), 1u);
    column.MakeEmpty();
    EXPECT_EQ(column.LineCount(), 1u);

    column.AddLine("a", 1);
    column.AddLine("b", 1);
    Variable lines(column.MakeLineList());
    auto* list = lines.As<CList>();
    ASSERT_EQ(list->GetCount(), 3u);
    EXPECT_TRUE(static_cast<CString*>(list->GetAt(2))->Equals("b"));
}
