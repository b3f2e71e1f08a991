// The printed course schedule, printed to PDF files and read back with
// poppler-utils: its heading, course lines and table, long names cut, long
// schedules over several pages, and the printer's failures told to the user.

#include "Database/course-planner/SchedulePrinter.h"

#include "FileSizeLimit.h"
#include "PrintDialogDriver.h"
#include "RunProgram.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"
#include "platform/QtPrintDialogAsker.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string run(const std::string& program, const std::vector<std::string>& arguments)
{
    const kovatest::ProgramRun result = kovatest::runProgram(program, arguments);
    EXPECT_EQ(result.exitCode, 0) << program << ": " << result.errors;
    return result.output;
}

int pageCount(const std::string& pdf)
{
    const std::string info = run("/usr/bin/pdfinfo", {pdf});
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

std::string pageText(const std::string& pdf, int page)
{
    const std::string number = std::to_string(page);
    return run("/usr/bin/pdftotext", {"-layout", "-f", number, "-l", number, pdf, "-"});
}

int occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// The files of a folder, by name.
std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

SessionRecord row(const std::string& ventilation, const std::string& compression, long manikin,
                  const std::string& start, const std::string& end)
{
    SessionRecord session{SessionRecord::Unstamped{}};
    session.PersonVentilation = ventilation;
    session.PersonChestCompression = compression;
    session.Scenario = "Basic";
    session.Manikin = manikin;
    session.StartTime = start;
    session.EndTime = end;
    return session;
}

// A PDF writer whose further pages cannot begin, as a printer that fails mid-document.
class PageRefusingWriter : public QPdfWriter {
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override { return false; }
};

class SchedulePrinting : public ::testing::Test {
protected:
    SchedulePrinting()
    {
        course.instructor = "Trainer A";
        course.date = "2025-03-04";
        course.time = "09:00";
        course.defaultScenario = "Basic";
        print.outputFile = folder.file("schedule.pdf");
    }

    std::vector<SessionRecord> manyRows(int count)
    {
        std::vector<SessionRecord> rows;
        for (int k = 1; k <= count; ++k)
            rows.push_back(row("Person " + std::to_string(k), "Partner", 1, "10:00", "10:10"));
        return rows;
    }

    kovatest::TempDir folder;
    CourseRecord course;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    platform::PdfPrintDialogAsker print;
    platform::ScopedPrintDialogAsker printScope{print};
};

TEST_F(SchedulePrinting, thePageHoldsTheCourseAndEveryRow)
{
    course.note = "Bring towels.";
    const std::vector<SessionRecord> rows = {
        row("Bob", "Cid", 3, "09:02", "09:12"),
        row("Maximiliane Wilhelmine von Hohenzollern-Sigmaringen", "Dan", 257, "09:13", "09:23"),
    };
    print.outputFile = (kovatest::binaryDir() / "course-schedule.pdf").string();
    std::filesystem::remove(print.outputFile);
    SchedulePrinter::printSchedule(course, rows, nullptr);
    EXPECT_EQ(print.shown, 1);
    EXPECT_TRUE(asker.asked.empty());

    const std::string pdf = print.outputFile;
    EXPECT_EQ(pageCount(pdf), 1);
    EXPECT_NE(run("/usr/bin/pdfinfo", {pdf}).find("Kova CPR Course Schedule"), std::string::npos);
    const std::string fonts = run("/usr/bin/pdffonts", {pdf});
    EXPECT_NE(fonts.find("LiberationSans-Bold"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("LiberationSans "), std::string::npos) << fonts;

    const std::string text = pageText(pdf, 1);
    for (const char* expected :
         {"Course schedule", "Instructor: Trainer A on 2025-03-04 at 09:00", "Default scenario: Basic", "Notes:",
          "Bring towels.", "Ventilation", "Chest compression", "Scenario", "Manikin", "Time", "09:02-09:12",
          "09:13-09:23", "Bob", "Cid", "257"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // The long name is cut at the next column with an ellipsis.
    EXPECT_NE(text.find("Maximiliane"), std::string::npos);
    EXPECT_EQ(text.find("Sigmaringen"), std::string::npos) << text;
    EXPECT_NE(text.find("\u2026"), std::string::npos) << text;
    // Row numbers stand in the left margin, headings above the rows.
    EXPECT_LT(text.find("Chest compression"), text.find("Bob"));
    EXPECT_NE(text.find("1 "), std::string::npos);

    // For a person to look at: the page as an image beside the PDF.
    run("/usr/bin/pdftoppm", {"-png", "-r", "60", "-singlefile", pdf,
                              (kovatest::binaryDir() / "course-schedule").string()});
}

TEST_F(SchedulePrinting, aCourseWithoutRowsPrintsTheHeadingsOnly)
{
    SchedulePrinter::printSchedule(course, {}, nullptr);
    const std::string text = pageText(print.outputFile, 1);
    EXPECT_NE(text.find("Chest compression"), std::string::npos);
    EXPECT_NE(text.find("Default scenario: Basic"), std::string::npos);
    EXPECT_EQ(text.find("Notes:"), std::string::npos) << "no note, no notes line";
    EXPECT_EQ(text.find("09:"), text.find("09:00")) << "only the course's own time";
    EXPECT_EQ(occurrences(text, "09:"), 1);
}

TEST_F(SchedulePrinting, aLongScheduleGoesOnOverFurtherPagesWithTheHeadingsOnEach)
{
    SchedulePrinter::printSchedule(course, manyRows(60), nullptr);
    const int pages = pageCount(print.outputFile);
    ASSERT_GT(pages, 1);
    std::string all;
    for (int page = 1; page <= pages; ++page) {
        const std::string text = pageText(print.outputFile, page);
        EXPECT_EQ(occurrences(text, "Chest compression"), 1) << "page " << page;
        EXPECT_EQ(occurrences(text, "Course schedule"), page == 1 ? 1 : 0) << "page " << page;
        all += text;
    }
    for (int k = 1; k <= 60; ++k)
        EXPECT_EQ(occurrences(all, "Person " + std::to_string(k) + " "), 1) << "row " << k;
    EXPECT_EQ(occurrences(all, "10:00-10:10"), 60);
}

TEST_F(SchedulePrinting, failuresAreToldAndCancelPrintsNothing)
{
    print.accept = false;
    SchedulePrinter::printSchedule(course, manyRows(2), nullptr);
    EXPECT_EQ(print.shown, 1);
    EXPECT_FALSE(std::filesystem::exists(print.outputFile));
    EXPECT_TRUE(asker.asked.empty());

    print.accept = true;
    const std::size_t logged = kovatest::readFile(LogStream::instance().path()).size();
    print.outputFile = folder.file("no such folder/schedule.pdf");
    SchedulePrinter::printSchedule(course, manyRows(2), nullptr);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Error initializing printer");
    EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("Printer error: Error initializing printer", logged),
              std::string::npos);
    EXPECT_EQ(asker.asked[0].caption, L"Printer error");
    EXPECT_EQ(asker.asked[0].style, 0u);

    // A device that takes nothing lets the page begin but never gets the document.
    asker.asked.clear();
    print.outputFile = "/dev/full";
    SchedulePrinter::printSchedule(course, manyRows(2), nullptr);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Error finishing the printout");
    EXPECT_EQ(asker.asked[0].caption, L"Printer error");
    EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("Printer error: Error finishing the printout", logged),
              std::string::npos);

    // The failed outputs spoil no later printout.
    asker.asked.clear();
    print.outputFile = folder.file("after-failure-schedule.pdf");
    SchedulePrinter::printSchedule(course, manyRows(2), nullptr);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_NE(pageText(print.outputFile, 1).find("Person 2"), std::string::npos);

    asker.asked.clear();
    bool aborted = false;
    {
        PageRefusingWriter writer(QString::fromStdString(folder.file("refused.pdf")));
        EXPECT_FALSE(SchedulePrinter::print(writer, course, manyRows(60), [&aborted] { aborted = true; }));
    }
    EXPECT_TRUE(aborted);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Error initializing new page");
    EXPECT_EQ(asker.asked[0].caption, L"Printer error");
}

// A printout that fails over an existing file (the disk fills up) leaves
// that file as it was and no temporary beside it; one that succeeds takes
// its place.
TEST_F(SchedulePrinting, aFailedPrintLeavesTheFileItWasToReplaceWhole)
{
    kovatest::writeFile(print.outputFile, "an earlier schedule");
    {
        kovatest::FileSizeLimit fullDisk(16 * 1024);
        SchedulePrinter::printSchedule(course, manyRows(60), nullptr);
    }
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Error finishing the printout");
    EXPECT_TRUE(kovatest::readFile(print.outputFile) == "an earlier schedule") << "the earlier file was damaged";
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"schedule.pdf"}));

    asker.asked.clear();
    SchedulePrinter::printSchedule(course, manyRows(60), nullptr);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(pageCount(print.outputFile), 2);
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"schedule.pdf"}));
}

// On a machine without a printer (the test machine has none) the schedule
// prints through the real print dialog to the PDF file typed into it.
TEST_F(SchedulePrinting, theRealDialogPrintsTheScheduleToAPdfFileWithoutAPrinter)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    platform::QtPrintDialogAsker realDialog;
    platform::ScopedPrintDialogAsker realScope{realDialog};
    platform::applicationPrinter().setOutputFileName({});
    kovatest::PrintDialogSeen seen;
    const std::string typed = folder.file("typed.pdf");
    kovatest::answerPrintDialog(seen, QString::fromStdString(typed));
    SchedulePrinter::printSchedule(course, manyRows(3), nullptr);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.chosen.toStdString(), "Print to File (PDF)");
    EXPECT_TRUE(seen.fileName.endsWith(QStringLiteral("/Kova CPR Course Schedule.pdf"))) << seen.fileName.toStdString();
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_NE(pageText(typed, 1).find("Person 3"), std::string::npos);
}

} // namespace
