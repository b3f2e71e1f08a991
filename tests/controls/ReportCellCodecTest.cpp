// The cell encoding of report rows: empty cells, a coloured text, texts that
// hold the separator, rows that do not read back, and the process-wide separator.

#include "controls/reportctrl/ReportCellCodec.h"

#include <gtest/gtest.h>

namespace {

using kova::ReportCell;
using kova::ReportCellCodec;

TEST(ReportCellCodec, emptyCellsAndAColouredText)
{
    std::string row = ReportCellCodec::emptyRow(3);
    EXPECT_EQ(row, "(-1,-1,-1,-1)|(-1,-1,-1,-1)|(-1,-1,-1,-1)|");

    ReportCell cell;
    cell.text = "abc";
    cell.colour = 2;
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 1, cell));
    EXPECT_EQ(row, "(-1,-1,-1,-1)|(-1,-1,2,3)abc|(-1,-1,-1,-1)|");

    ReportCell back;
    ASSERT_TRUE(ReportCellCodec::readCell(row, 1, back));
    EXPECT_EQ(back.text, "abc");
    EXPECT_EQ(back.colour, 2);
    EXPECT_EQ(back.image, -1);

    // An emptied text goes back to length -1.
    cell.text.clear();
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 1, cell));
    EXPECT_EQ(row, "(-1,-1,-1,-1)|(-1,-1,2,-1)|(-1,-1,-1,-1)|");
    EXPECT_FALSE(ReportCellCodec::writeCell(row, 3, cell));
}

TEST(ReportCellCodec, textsHoldingTheSeparatorStayInTheirCell)
{
    std::string row = ReportCellCodec::emptyRow(3);
    ReportCell first;
    first.text = "a|(9,9,9,9)b|";
    ReportCell second;
    second.text = "after";
    second.image = 4;
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 0, first));
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 1, second));

    ReportCell read;
    ASSERT_TRUE(ReportCellCodec::readCell(row, 0, read));
    EXPECT_EQ(read.text, first.text);
    ASSERT_TRUE(ReportCellCodec::readCell(row, 1, read));
    EXPECT_EQ(read.text, "after");
    EXPECT_EQ(read.image, 4);
    ASSERT_TRUE(ReportCellCodec::readCell(row, 2, read));
    EXPECT_EQ(read.text, "");
    EXPECT_EQ(ReportCellCodec::cellCount(row), 3);
}

TEST(ReportCellCodec, readsAreCutToTheLimitAtAWholeCharacter)
{
    std::string row = ReportCellCodec::emptyRow(1);
    ReportCell cell;
    cell.text = "ab\xC3\xA9z"; // "abéz"
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 0, cell));
    ReportCell read;
    ASSERT_TRUE(ReportCellCodec::readCell(row, 0, read, 4));
    EXPECT_EQ(read.text, "ab");
    ASSERT_TRUE(ReportCellCodec::readCell(row, 0, read, 5));
    EXPECT_EQ(read.text, "ab\xC3\xA9");
}

TEST(ReportCellCodec, rowsThatDoNotReadBackAreRefused)
{
    const char* rows[] = {
        "",                       // no cell at all
        "(1,2,3)x|",              // three numbers
        "(-1,-1,-1,5)abc|",       // length past the end of the row
        "(-1,-1,-1,2)abc|",       // no separator after the text
        "(-1,-1,-1,-7)|",         // negative length other than -1
        "(a,-1,-1,-1)|",          // not a number
        "(-1,-1,-1,99999999999)|" // a length that does not fit
    };
    for (const char* row : rows) {
        ReportCell cell;
        EXPECT_FALSE(ReportCellCodec::readCell(row, 0, cell)) << row;
        std::string copy = row;
        EXPECT_FALSE(ReportCellCodec::writeCell(copy, 0, cell)) << row;
        EXPECT_EQ(copy, row);
    }
}

TEST(ReportCellCodec, insertedCellsShiftTheOthers)
{
    std::string row = ReportCellCodec::emptyRow(2);
    ReportCell cell;
    cell.text = "x";
    ReportCellCodec::writeCell(row, 1, cell);
    ReportCellCodec::insertCell(row, 1);
    ReportCellCodec::insertCell(row, 7);
    ASSERT_EQ(ReportCellCodec::cellCount(row), 4);
    ReportCell read;
    ReportCellCodec::readCell(row, 2, read);
    EXPECT_EQ(read.text, "x");
}

TEST(ReportCellCodec, theSeparatorIsSharedByTheWholeProcess)
{
    ReportCellCodec::setSeparator(';');
    EXPECT_EQ(ReportCellCodec::emptyCell(), "(-1,-1,-1,-1);");
    std::string row = ReportCellCodec::emptyRow(2);
    ReportCell cell;
    cell.text = "a|b";
    ASSERT_TRUE(ReportCellCodec::writeCell(row, 1, cell));
    EXPECT_EQ(row, "(-1,-1,-1,-1);(-1,-1,-1,3)a|b;");
    ReportCellCodec::setSeparator('|');
    // A row written with the old separator no longer reads back.
    ReportCell read;
    EXPECT_FALSE(ReportCellCodec::readCell(row, 1, read));
    EXPECT_EQ(ReportCellCodec::emptyCell(), "(-1,-1,-1,-1)|");
}

} // namespace
