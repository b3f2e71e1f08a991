// Printing a session the simulated manikin performed, on the application's
// printer pointed at PDF files that pdfinfo and pdftotext read back: the
// graph page, the debriefing report's pages, its texts and the printer's
// failures.

#include "PerformedSession.h"
#include "PerformedWindowsFixture.h"
#include "SessionTestKit.h"
#include "TestSessionPanel.h"

#include "FileSizeLimit.h"
#include "GermanLocale.h"
#include "PrintDialogDriver.h"
#include "RunProgram.h"
#include "TempDir.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/graphs/AxisCtrl.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/printing/Print.h"
#include "app/printing/PrintedGraphs.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "config/Configuration.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"
#include "platform/QtPrintDialogAsker.h"
#include "platform/RegistryStore.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

using namespace sessiontest;
using Panel = SessionWindows::Panel;

namespace {

constexpr int RATE = 20;

// One word of a printed page with its box, in points from the top left.
struct Word {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
struct PdfPage {
    double width = 0, height = 0;
    std::vector<Word> words;
    // The page's words in reading order, joined by blanks.
    std::string text() const
    {
        std::string joined;
        for (const Word& word : words)
            joined += (joined.empty() ? "" : " ") + word.text;
        return joined;
    }
    bool has(const std::string& phrase) const { return text().find(phrase) != std::string::npos; }
    int count(const std::string& word) const
    {
        return static_cast<int>(std::count_if(words.begin(), words.end(), [&](const Word& w) { return w.text == word; }));
    }
    const Word* find(const std::string& word) const
    {
        for (const Word& w : words)
            if (w.text == word)
                return &w;
        return nullptr;
    }
};

std::string unescape(std::string text)
{
    for (const auto& [entity, plain] : {std::pair<std::string, std::string>{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}}) {
        for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, entity.size(), plain);
    }
    return text;
}

// The pages of a PDF with their words, through pdftotext -bbox.
std::vector<PdfPage> readPdf(const std::string& path)
{
    const kovatest::ProgramRun run = kovatest::runProgram("/usr/bin/pdftotext", {"-bbox", path, "-"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    std::vector<PdfPage> pages;
    static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    static const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">(.*)</word>)re");
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, page)) {
            pages.push_back({std::stod(match[1]), std::stod(match[2]), {}});
        } else if (std::regex_search(line, match, word) && !pages.empty()) {
            pages.back().words.push_back({unescape(match[5]), std::stod(match[1]), std::stod(match[2]),
                                          std::stod(match[3]), std::stod(match[4])});
        }
    }
    return pages;
}

int pdfinfoPages(const std::string& path)
{
    const kovatest::ProgramRun run = kovatest::runProgram("/usr/bin/pdfinfo", {path});
    std::smatch match;
    static const std::regex pages(R"re(Pages:\s+([0-9]+))re");
    return std::regex_search(run.output, match, pages) ? std::stoi(match[1]) : -1;
}

// A graph panel that prints, in place of the curves, a framed name of the
// strip its axis shows, and writes down what the printing asked of it.
class StripPanel final : public SessionPanel, public PrintedGraphs {
public:
    StripPanel(Session& session, std::vector<std::string>& log, const int& strips)
        : SessionPanel(session, PANEL_TEMPLATE), log_(log), strips_(strips)
    {
    }
    void newData(int) override {}
    void selectFirstActionPrintWindow() override { shown_ = "FirstActionStrip"; }
    void selectPrintPage(int page) override { shown_ = "Strip" + std::to_string(page); }
    int getPrintPageCount() const override { return strips_; }
    void printGraphs(QPainter& painter, int left, int top, int right, int bottom, bool monochrome) override
    {
        log_.push_back(shown_ + (monochrome ? " grey" : " colour"));
        painter.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)));
        painter.drawText(QPoint(left + 20, (top + bottom) / 2), QString::fromStdString(shown_));
    }

private:
    std::vector<std::string>& log_;
    const int& strips_;
    std::string shown_ = "AxisWindow";
};

class PrintTest : public PerformedWindowsFixture {
protected:
    static constexpr long DURATION = 90;

    void SetUp() override
    {
        PerformedWindowsFixture::SetUp();
        registerPanelTemplate();
        SessionWindowSet::setPanelFactory(Panel::Graph, [this](Session& session) {
            return std::make_unique<StripPanel>(session, graphLog, strips);
        });
        Print::install();
        PropertyModel& s = settings();
        s.printHeading.clear();
        s.printGraph = s.printEventList = s.printDebriefingText = s.printApprovalFields = true;
        s.graphMaxPrintTime = 1;
    }

    // A session shown in the host and run to its end; `marks` puts marks of
    // the named buttons on the ventilation (true) or compression curve at the steps given.
    struct Mark {
        int step;
        bool ventilation;
        std::wstring name;
    };
    Session& performed(SessionRecord record = liveRecord(DURATION, 1), const std::vector<Mark>& marks = {})
    {
        manikinsim::PerformancePlan plan = faultyPerformance();
        plan.sampleRate = RATE;
        link.port.recording = recordedSamples(plan, static_cast<int>(record.Duration) * RATE);
        record.Duration = DURATION;
        record.Serialidentifier = "print000000001";
        AlgorithmRecord algorithm;
        algorithm.Name = "ERC 2010";
        sessions.push_back(std::make_unique<Session>(record, algorithm,
                                                     std::make_unique<FakeLink>(link, static_cast<int>(record.Manikin), 1)));
        Session& session = *sessions.back();
        runShown(session, DURATION, RATE, [&](int step) {
            for (const Mark& mark : marks)
                if (mark.step == step)
                    (mark.ventilation ? session.getVentilationDoc() : session.getCompressionDoc())
                        .addMark(ToolbarButton(mark.name, mark.name, 3));
        });
        return session;
    }

    // Types the instructor's recommendation into the debriefing panel's box.
    static void recommend(Session& session, const std::wstring& text)
    {
        auto* panel = qobject_cast<SessionDebriefView*>(session.getSessionDebriefView());
        ASSERT_NE(panel, nullptr);
        auto* box = qobject_cast<QPlainTextEdit*>(panel->getDlgItem(SessionDebriefView::IDC_RECOMMENDATION));
        ASSERT_NE(box, nullptr);
        box->setPlainText(QString::fromStdWString(text));
    }

    // Prints to a PDF file in the test's folder and reads it back.
    std::vector<PdfPage> print(Session& session, bool debriefing, const std::string& name = "printout.pdf")
    {
        pdf = folder.file(name);
        dialog.outputFile = pdf;
        {
            platform::ScopedPrintDialogAsker asking(dialog);
            platform::ScopedMessageAsker boxes(messages);
            Print::printSession(session, debriefing);
        }
        if (!std::filesystem::exists(pdf))
            return {};
        EXPECT_EQ(pdfinfoPages(pdf), static_cast<int>(readPdf(pdf).size()));
        return readPdf(pdf);
    }

    std::vector<std::string> graphLog;
    int strips = 0;
    platform::PdfPrintDialogAsker dialog;
    platform::RecordingMessageAsker messages;
    std::string pdf;
};

bool portrait(const PdfPage& page) { return page.height > page.width; }

TEST_F(PrintTest, theGraphPageIsOneLandscapePageOfTitleHeaderAndGraphsWhateverTheSettings)
{
    Session& session = performed();
    strips = 3;
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        PropertyModel& s = settings();
        s.printGraph = s.printEventList = s.printDebriefingText = s.printApprovalFields = on;
        graphLog.clear();
        const std::vector<PdfPage> pages = print(session, false);
        ASSERT_EQ(pages.size(), 1u);
        const PdfPage& page = pages[0];
        EXPECT_GT(page.width, page.height);
        EXPECT_TRUE(page.has("Training Results"));
        EXPECT_TRUE(page.has("Ventilation: Anna"));
        EXPECT_TRUE(page.has("Compression: User 1"));
        EXPECT_TRUE(page.has("Duration: 1 min. 30 sec."));
        // The graphs the axis shows, not a strip chosen for the printout.
        EXPECT_EQ(graphLog, std::vector<std::string>{"AxisWindow colour"});
        EXPECT_TRUE(page.has("AxisWindow"));
        for (const char* absent : {"Page", "Event", "Approved", "Comments:"})
            EXPECT_FALSE(page.has(absent)) << absent;
        // Below the header, across the page between the margins.
        const Word* graphs = page.find("AxisWindow");
        const Word* duration = page.find("Duration:");
        ASSERT_TRUE(graphs && duration);
        EXPECT_GT(graphs->yMin, duration->yMax);
    }
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_EQ(platform::applicationPrinter().pageLayout().orientation(), QPageLayout::Landscape);
}

TEST_F(PrintTest, theDebriefingReportHasAPageForEveryTwoStripsAfterTheFirstAndFootsEachWithTheTotal)
{
    Session& session = performed();
    struct Case {
        int strips;
        std::vector<std::vector<std::string>> stripsByPage;
    };
    const Case cases[] = {
        {0, {{"FirstActionStrip"}, {}}},
        {1, {{"FirstActionStrip"}, {}}},
        {2, {{"FirstActionStrip"}, {"Strip1"}, {}}},
        {3, {{"FirstActionStrip"}, {"Strip1", "Strip2"}, {}}},
        {4, {{"FirstActionStrip"}, {"Strip1", "Strip2"}, {"Strip3"}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strips);
        strips = c.strips;
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_EQ(pages.size(), c.stripsByPage.size());
        const std::string total = std::to_string(pages.size());
        for (std::size_t k = 0; k < pages.size(); ++k) {
            SCOPED_TRACE(k + 1);
            const PdfPage& page = pages[k];
            EXPECT_TRUE(portrait(page));
            EXPECT_TRUE(page.has("Training Results"));
            EXPECT_TRUE(page.has("Page " + std::to_string(k + 1) + " of " + total));
            for (const std::string strip : {"FirstActionStrip", "Strip1", "Strip2", "Strip3"}) {
                const bool expected = std::find(c.stripsByPage[k].begin(), c.stripsByPage[k].end(), strip)
                                      != c.stripsByPage[k].end();
                EXPECT_EQ(page.count(strip), expected ? 1 : 0) << strip;
            }
            // Strip pages carry no session header; the first and final pages do.
            EXPECT_EQ(page.has("Duration:"), k == 0 || k + 1 == pages.size());
        }
        // Two strips on a page: one above the other.
        if (c.stripsByPage.size() > 2 && c.stripsByPage[1].size() == 2) {
            EXPECT_LT(pages[1].find("Strip1")->yMax, pages[1].find("Strip2")->yMin);
        }
        // The evaluation table heads the first page; the closing parts end the last.
        EXPECT_TRUE(pages.front().has("Recommended values in brackets."));
        EXPECT_TRUE(pages.back().has("Event registration (Anna)"));
        EXPECT_TRUE(pages.back().has("Comments:"));
        EXPECT_FALSE(pages.front().has("Comments:"));
    }
    EXPECT_EQ(platform::applicationPrinter().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(PrintTest, withoutGraphsTheReportHasTwoPagesForItsTextOrOneWithoutIt)
{
    Session& session = performed();
    strips = 4;
    struct Case {
        const char* name;
        bool eventList, text, approval;
        std::size_t pages;
    };
    const Case cases[] = {
        {"text", false, true, false, 2},
        {"approval only", false, false, true, 1},
        {"event list only", true, false, false, 1},
        {"nothing", false, false, false, 1},
    };
    settings().printGraph = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings().printEventList = c.eventList;
        settings().printDebriefingText = c.text;
        settings().printApprovalFields = c.approval;
        graphLog.clear();
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_EQ(pages.size(), c.pages);
        EXPECT_TRUE(graphLog.empty());
        EXPECT_EQ(pages.front().has("Page 1 of 2"), c.pages == 2);
        EXPECT_EQ(pages.back().has("Approved:"), c.approval);
        EXPECT_FALSE(pages.back().has("Event registration"));
        EXPECT_TRUE(pages.front().has("Recommended values in brackets."));
    }
}

TEST_F(PrintTest, theHeaderAndApprovalBlockPrintTheRecordsTexts)
{
    settings().printGraph = settings().printDebriefingText = false;
    struct Case {
        const char* name;
        bool metronome;
        const char* instructor;
        unsigned char approved;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"not yet approved", true, "", 0, {"Metronome: on", "Approved: __ Yes ___No"}, {"Course Instructor:", "Metronome: off"}},
        {"approved", false, "Eva Lind", 1, {"Metronome: off", "Course Instructor: Eva Lind", "Approved: Yes"}, {"Approved: No"}},
        {"refused", false, "", 2, {"Approved: No"}, {"Approved: Yes", "Yes ___No"}},
        {"any other value", false, "", 7, {"Approved: No"}, {"Approved: Yes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SessionRecord record = liveRecord(DURATION, 1);
        record.Metronome = c.metronome;
        record.CourseInstructor = c.instructor;
        record.Approved = c.approved;
        record.ApprovedBy = "Jon Berg";
        record.Note = "Retake & check";
        record.CourseDate = "2026-12-10";
        record.StartTime = "09:30";
        Session& session = performed(record);
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_EQ(pages.size(), 1u);
        for (const std::string& text : c.present)
            EXPECT_TRUE(pages[0].has(text)) << text;
        for (const std::string& text : c.absent)
            EXPECT_FALSE(pages[0].has(text)) << text;
        EXPECT_TRUE(pages[0].has("Duration: 1 min. 30 sec."));
        EXPECT_TRUE(pages[0].has("Algorithm: ERC 2010"));
        EXPECT_TRUE(pages[0].has("2026-12-10 09:30"));
        EXPECT_TRUE(pages[0].has("Approved by: Jon Berg"));
        EXPECT_TRUE(pages[0].has("Comments:Retake & check"));
        sessions.clear();
    }
}

TEST_F(PrintTest, theHeadingPrintsOneLinePerBreakWithoutAnEmptyLastLine)
{
    Session& session = performed();
    settings().printGraph = settings().printDebriefingText = false;
    struct Case {
        std::wstring heading;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {L"Spring course\r\nB", {"Spring course", "B"}},
        {L"Spring course\r\n", {"Spring course"}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.size());
        settings().printHeading = c.heading;
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_EQ(pages.size(), 1u);
        const PdfPage& page = pages[0];
        // The heading sits between the date line and the header's first row.
        const Word* ventilation = page.find("Ventilation:");
        ASSERT_NE(ventilation, nullptr);
        std::vector<std::string> above;
        const Word* title = page.find("Results");
        ASSERT_NE(title, nullptr);
        for (const Word& word : page.words)
            if (word.yMin > title->yMax + 1 && word.yMax < ventilation->yMin && word.text.find('-') == std::string::npos
                && word.text.find(':') == std::string::npos)
                above.push_back(word.text);
        std::vector<std::string> expected;
        for (const std::string& line : c.lines) {
            std::istringstream words(line);
            for (std::string word; words >> word;)
                expected.push_back(word);
        }
        EXPECT_EQ(above, expected);
    }
    // Two lines: the second below the first.
    settings().printHeading = L"Spring course\r\nB";
    const std::vector<PdfPage> pages = print(session, true);
    EXPECT_LT(pages[0].find("Spring")->yMax, pages[0].find("B")->yMin + 1);
}

TEST_F(PrintTest, theEventRegistrationListsMarksWithTheirTimesAndCutsAColumnAfter21)
{
    settings().printGraph = false;
    settings().printDebriefingText = false;
    // A mark at 65 s and one at 600 s (the time is the sample's, whatever the session's length).
    {
        SessionRecord record = liveRecord(DURATION, 1);
        record.TrainingMode = 2;
        Session& session = performed(record, {{10, true, L"CPR && AED"}});
        ASSERT_TRUE(session.getVentilationDoc().readMarks("2\r\n1300 4\r\n12000 5\r\n"));
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_EQ(pages.size(), 1u);
        // The event list alone adds no page: turn on the text for the final page.
        settings().printDebriefingText = true;
        const std::vector<PdfPage> report = print(session, true);
        ASSERT_EQ(report.size(), 2u);
        const PdfPage& last = report[1];
        EXPECT_TRUE(last.has("Event registration (Anna)"));
        EXPECT_TRUE(last.has("CPR & AED"));
        EXPECT_FALSE(last.has("&&"));
        for (const char* time : {"0:00", "1:05", "10:00"})
            EXPECT_EQ(last.count(time), 1) << time;
        // The time stands right of its text, the dots between them.
        const Word* text = last.find("AED");
        const Word* time = last.find("0:00");
        ASSERT_TRUE(text && time);
        EXPECT_GT(time->xMin, text->xMax);
        EXPECT_LT(time->xMax, last.width / 2);
        settings().printDebriefingText = false;
        sessions.clear();
    }
    settings().printDebriefingText = true;
    const auto columnsOf = [](const PdfPage& page) {
        std::pair<std::vector<std::string>, std::vector<std::string>> columns;
        for (const Word& word : page.words)
            if (word.text.size() == 3 && (word.text[0] == 'V' || word.text[0] == 'C') && std::isdigit(word.text[1]))
                (word.xMin < page.width / 2 ? columns.first : columns.second).push_back(word.text);
        return columns;
    };
    const auto dotsOf = [](const PdfPage& page) {
        std::pair<int, int> dots;
        for (const Word& word : page.words)
            if (word.text == "...")
                ++(word.xMin < page.width / 2 ? dots.first : dots.second);
        return dots;
    };
    // Two-person CPR: 30 ventilation marks, 21 of them and "..." on the left; 3 compression marks right.
    {
        std::vector<Mark> marks;
        for (int i = 0; i < 30; ++i)
            marks.push_back({20 + 40 * i, true, L"V" + std::to_wstring(10 + i)});
        for (int i = 0; i < 3; ++i)
            marks.push_back({30 + 40 * i, false, L"C" + std::to_wstring(10 + i)});
        SessionRecord record = liveRecord(DURATION, 1);
        record.TrainingMode = 1;
        Session& session = performed(record, marks);
        const std::vector<PdfPage> pages = print(session, true);
        ASSERT_FALSE(pages.empty());
        const PdfPage& last = pages.back();
        EXPECT_TRUE(last.has("Event registration (Anna)"));
        EXPECT_TRUE(last.has("Event registration (User 1)"));
        const auto [left, right] = columnsOf(last);
        ASSERT_EQ(left.size(), 21u);
        EXPECT_EQ(left.front(), "V10");
        EXPECT_EQ(left.back(), "V30");
        EXPECT_EQ(right, (std::vector<std::string>{"C10", "C11", "C12"}));
        EXPECT_EQ(dotsOf(last), std::make_pair(1, 0));
        sessions.clear();
    }
    // Single-person CPR: 50 marks merged by time, 21 left, 21 right and "..." under the right one.
    {
        std::vector<Mark> marks;
        for (int i = 0; i < 50; ++i)
            marks.push_back({20 + 30 * i, i % 2 == 0, (i % 2 == 0 ? L"V" : L"C") + std::to_wstring(10 + i)});
        SessionRecord record = liveRecord(DURATION, 1);
        record.TrainingMode = 0;
        Session& session = performed(record, marks);
        const PdfPage last = print(session, true).back();
        EXPECT_TRUE(last.has("Event registration (Anna)"));
        EXPECT_FALSE(last.has("Event registration (User 1)"));
        const auto [left, right] = columnsOf(last);
        ASSERT_EQ(left.size(), 21u);
        ASSERT_EQ(right.size(), 21u);
        EXPECT_EQ(left.front(), "V10");
        EXPECT_EQ(left[1], "C11");
        EXPECT_EQ(right.front(), "C31");
        EXPECT_EQ(right.back(), "C51");
        EXPECT_EQ(dotsOf(last), std::make_pair(0, 1));
    }
}

TEST_F(PrintTest, theReportPrintsTheRecommendationAndNoDecimalCommaUnderAGermanLocale)
{
    Session& session = performed();
    strips = 2;
    kovatest::GermanLocale german;
    if (!german.active())
        GTEST_SKIP() << "no German locale here";
    recommend(session, L"Push deeper and let the chest rise fully.");
    const std::vector<PdfPage> pages = print(session, true);
    ASSERT_EQ(pages.size(), 3u);
    // The evaluation table with the debriefing's own texts, its decimals with a point.
    EXPECT_TRUE(pages[0].has("(40 - 50 mm)")) << pages[0].text();
    EXPECT_TRUE(pages[0].has("Recommended values in brackets."));
    EXPECT_TRUE(std::regex_search(pages[0].text(), std::regex("[0-9]\\.[0-9] L")));
    static const std::regex decimalComma("[0-9],[0-9]");
    for (const PdfPage& page : pages)
        EXPECT_FALSE(std::regex_search(page.text(), decimalComma)) << page.text();
    EXPECT_TRUE(pages[2].has("Push deeper and let the chest rise fully."));
}

TEST_F(PrintTest, printerFailuresAreToldAndACancelledDialogPrintsNothing)
{
    Session& session = performed();
    settings().printGraph = false;

    dialog.accept = false;
    EXPECT_TRUE(print(session, true).empty());
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(messages.asked.empty());
    dialog.accept = true;

    // A device that takes nothing fails the next page, or the end of a one-page report.
    struct Case {
        std::string file;
        bool pages;
        std::wstring text;
    };
    const Case cases[] = {
        {folder.file("no such folder/report.pdf"), true, L"Error initializing printer"},
        {"/dev/full", true, L"Error initializing new page"},
        {"/dev/full", false, L"Error finishing the printout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + (c.pages ? " pages" : " one page"));
        settings().printDebriefingText = c.pages;
        messages.asked.clear();
        const std::size_t logged = kovatest::readFile(LogStream::instance().path()).size();
        dialog.outputFile = c.file;
        {
            platform::ScopedPrintDialogAsker asking(dialog);
            platform::ScopedMessageAsker boxes(messages);
            Print::printSession(session, true);
        }
        ASSERT_EQ(messages.asked.size(), 1u);
        EXPECT_EQ(messages.asked[0].text, c.text);
        EXPECT_EQ(messages.asked[0].caption, L"Printer error");
        // Every failure is in the error log too.
        EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("Printer error: " + toNarrow(c.text), logged),
                  std::string::npos);
    }
    // The printer still prints afterwards, in the orientation it had.
    messages.asked.clear();
    settings().printDebriefingText = true;
    EXPECT_EQ(print(session, true).size(), 2u);
    EXPECT_TRUE(messages.asked.empty());

}

// A report that fails over an existing file (the disk fills up) leaves that
// file as it was and no temporary beside it.
TEST_F(PrintTest, aFailedPrintLeavesTheFileItWasToReplaceWhole)
{
    Session& session = performed();
    pdf = folder.file("report.pdf");
    kovatest::writeFile(pdf, "an earlier report");
    dialog.outputFile = pdf;
    {
        platform::ScopedPrintDialogAsker asking(dialog);
        platform::ScopedMessageAsker boxes(messages);
        kovatest::FileSizeLimit fullDisk(16 * 1024);
        Print::printSession(session, true);
    }
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, L"Error finishing the printout");
    EXPECT_TRUE(kovatest::readFile(pdf) == "an earlier report") << "the earlier file was damaged";
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().find("report.pdf."), std::string::npos) << entry.path();

    messages.asked.clear();
    EXPECT_EQ(print(session, true, "report.pdf").size(), 2u);
    EXPECT_TRUE(messages.asked.empty());
}

// On a machine without a printer (the test machine has none) the report
// and the graph page print through the real print dialog to the PDF file
// typed into it.
TEST_F(PrintTest, theRealDialogPrintsTheReportAndTheGraphPageToPdfFilesWithoutAPrinter)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    Session& session = performed();
    platform::QtPrintDialogAsker realDialog;
    platform::ScopedPrintDialogAsker realScope(realDialog);
    platform::ScopedMessageAsker boxes(messages);
    for (const bool debriefing : {true, false}) {
        SCOPED_TRACE(debriefing ? "report" : "graph page");
        platform::applicationPrinter().setOutputFileName({});
        kovatest::PrintDialogSeen seen;
        const std::string typed = folder.file(debriefing ? "typed-report.pdf" : "typed-graphs.pdf");
        kovatest::answerPrintDialog(seen, QString::fromStdString(typed));
        Print::printSession(session, debriefing);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.chosen.toStdString(), "Print to File (PDF)");
        EXPECT_TRUE(seen.fileName.endsWith(QStringLiteral("/Kova CPR Evaluation Data.pdf"))) << seen.fileName.toStdString();
        const std::vector<PdfPage> pages = readPdf(typed);
        ASSERT_EQ(pages.size(), debriefing ? 2u : 1u);
        EXPECT_TRUE(pages[0].has("Training Results"));
        EXPECT_EQ(portrait(pages[0]), debriefing);
    }
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(PrintTest, theDebriefingPanelsPrintButtonPrintsTheReport)
{
    Session& session = performed();
    settings().printGraph = false;
    auto* panel = qobject_cast<SessionDebriefView*>(session.getSessionDebriefView());
    ASSERT_NE(panel, nullptr);
    auto* button = qobject_cast<QAbstractButton*>(panel->getDlgItem(SessionDebriefView::IDC_PRINT));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    pdf = folder.file("button.pdf");
    dialog.outputFile = pdf;
    {
        platform::ScopedPrintDialogAsker asking(dialog);
        button->click();
    }
    const std::vector<PdfPage> pages = readPdf(pdf);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(portrait(pages[0]));
    EXPECT_TRUE(pages[0].has("Recommended values in brackets."));
    EXPECT_TRUE(pages[1].has("Page 2 of 2"));
}

TEST_F(PrintTest, aStoredSessionNeverShownGetsItsPanelsMadeForTheReport)
{
    Session& live = performed(liveRecord(DURATION, 1), {{40, true, L"Check response"}});
    recommend(live, L"Well done.");
    ASSERT_TRUE(live.save());
    SessionRecord record = live.getRecord();
    record.Manikin = Session::STORED_MANIKIN;
    record.InterfaceFrequency = live.getCommSession().sampleRate;
    sessions.push_back(std::make_unique<Session>(record, AlgorithmRecord{}));
    Session& stored = *sessions.back();
    ASSERT_TRUE(stored.getUsingFile());

    strips = 2;
    const std::vector<PdfPage> pages = print(stored, true);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[0].has("Recommended values in brackets."));
    EXPECT_TRUE(pages[0].has("(40 - 50 mm)"));
    EXPECT_TRUE(pages[0].has("FirstActionStrip"));
    EXPECT_TRUE(pages[1].has("Strip1"));
    // The stored mark keeps its time; its button text is not stored.
    EXPECT_EQ(pages[2].count("0:01"), 1) << pages[2].text();
    EXPECT_TRUE(pages[2].has("Well done."));
    EXPECT_TRUE(messages.asked.empty());
}

// A stored row whose rate no manikin gives is refused as the session is read;
// a session whose rate came out absurd all the same prints no more strips
// than its samples fill, at once.
TEST_F(PrintTest, anAbsurdSampleRateNeverPrintsMillionsOfPages)
{
    SessionGraphView::install();
    settings().graphMaxPrintTime = 5;
    Session& live = performed();
    ASSERT_TRUE(live.save());
    SessionRecord record = live.getRecord();
    record.Manikin = Session::STORED_MANIKIN;
    record.InterfaceFrequency = 1e-300;
    {
        platform::ScopedMessageAsker boxes(messages);
        sessions.push_back(std::make_unique<Session>(record, AlgorithmRecord{}));
    }
    Session& stored = *sessions.back();
    ASSERT_FALSE(messages.asked.empty());
    EXPECT_NE(messages.asked[0].text.find(L"There was a problem opening the datafile"), std::wstring::npos);
    EXPECT_TRUE(stored.getCommSession().manData.empty());
    messages.asked.clear();
    EXPECT_EQ(print(stored, true).size(), 2u);

    // 90 s of samples at a rate the link got wrong: sixty million strips of
    // five minutes by the time, none by the samples (a strip is no sample).
    live.getCommSession().sampleRate = 1e-7;
    EXPECT_GT(live.getElapsedSeconds(), std::int64_t{1} << 32);
    auto* graphs = dynamic_cast<SessionGraphView*>(live.getSessionGraphView());
    ASSERT_NE(graphs, nullptr);
    EXPECT_EQ(graphs->getPrintPageCount(), 0);
    EXPECT_EQ(print(live, true).size(), 2u);
    EXPECT_TRUE(messages.asked.empty());
}

// The labels of the printed graphs, as pdftotext finds them on a page: the
// value labels, the curves' names, the C/R caption and ratios, and the times.
struct GraphLabels {
    std::vector<const Word*> values, units, names, captions, ratios, times, cutTimes;
};

GraphLabels graphLabelsOf(const PdfPage& page)
{
    // The graphs lie below the title block, the header and the evaluation table.
    double graphsTop = 0;
    for (const Word& word : page.words)
        if (word.text == "09:30" || word.text == "Metronome:" || word.text == "brackets.")
            graphsTop = std::max(graphsTop, word.yMax);
    static const std::regex value(R"re([0-9]+\.[0-9][0-9])re");
    static const std::regex time(R"re([0-9]:[0-9][0-9])re");
    static const std::regex ratio(R"re([0-9][0-9]:[0-9][0-9])re");
    static const std::regex cut(R"re([0-9]+:[0-9]?|:[0-9]*)re");
    GraphLabels labels;
    for (const Word& word : page.words) {
        if ((word.yMin + word.yMax) / 2 < graphsTop)
            continue;
        if (std::regex_match(word.text, value))
            labels.values.push_back(&word);
        else if (word.text == "L." || word.text == "mm.")
            labels.units.push_back(&word);
        else if (word.text == "Ventilation" || word.text == "Chest")
            labels.names.push_back(&word);
        else if (word.text == "C/R")
            labels.captions.push_back(&word);
        else if (std::regex_match(word.text, ratio))
            labels.ratios.push_back(&word);
        else if (std::regex_match(word.text, time))
            labels.times.push_back(&word);
        else if (std::regex_match(word.text, cut))
            labels.cutTimes.push_back(&word);
    }
    return labels;
}

// Printed graphs carry every label in the six-point print font, and each
// time label whole, on the graph page and on the report's strips alike.
TEST_F(PrintTest, theGraphLabelsPrintWholeInTheSixPointFont)
{
    SessionGraphView::install();
    settings().ratioAsPercent = true;
    settings().printDebriefingText = false;
    SessionRecord record = liveRecord(DURATION, 1);
    record.StartTime = "09:30";
    Session& session = performed(record);
    ASSERT_FALSE(session.getCommSession().seriesSummaries().empty());

    // The graph page prints what the axis shows: here labels close to both ends.
    auto* graphs = dynamic_cast<SessionGraphView*>(session.getSessionGraphView());
    ASSERT_NE(graphs, nullptr);
    graphs->axis()->setView(99, 502);
    std::vector<PdfPage> graphPages = print(session, false, "graph-page.pdf");
    ASSERT_EQ(graphPages.size(), 1u);
    std::vector<std::string> times;
    for (const Word* word : graphLabelsOf(graphPages[0]).times)
        times.push_back(word->text);
    EXPECT_EQ(times, (std::vector<std::string>{"0:05", "0:10", "0:15", "0:20", "0:25", "0:30"}));
    const std::vector<PdfPage> report = print(session, true, "report.pdf");
    ASSERT_EQ(report.size(), 3u);
    graphPages.push_back(report[0]);
    graphPages.push_back(report[1]);
    const auto sixPoint = [](const Word* word) {
        const double height = word->yMax - word->yMin;
        return height > 5.0 && height < 9.0;
    };
    for (std::size_t k = 0; k < graphPages.size(); ++k) {
        SCOPED_TRACE(k == 0 ? "graph page" : "report page " + std::to_string(k));
        const GraphLabels labels = graphLabelsOf(graphPages[k]);
        std::set<std::string> values;
        for (const Word* word : labels.values)
            values.insert(word->text);
        for (const char* label : {"1.20", "0.00", "75.00", "40.00", "50.00"})
            EXPECT_TRUE(values.count(label)) << label << " in " << graphPages[k].text();
        EXPECT_EQ(labels.names.size(), 2u);
        EXPECT_EQ(labels.captions.size(), 1u);
        // The series lie in the session's first minute.
        EXPECT_EQ(labels.ratios.empty(), k == 2);
        EXPECT_GE(labels.times.size(), 3u);
        for (const auto* group : {&labels.values, &labels.names, &labels.captions, &labels.ratios, &labels.times})
            for (const Word* word : *group)
                EXPECT_TRUE(sixPoint(word)) << word->text << " is " << word->yMax - word->yMin << " pt high";
        for (const Word* word : labels.cutTimes)
            ADD_FAILURE() << "a time label cut to \"" << word->text << "\"";
        // Whole: inside the graphs' frame, which the names of the curves
        // begin at and the value labels end at.
        ASSERT_FALSE(labels.names.empty() || labels.units.empty());
        double left = labels.names.front()->xMin, right = 0;
        for (const Word* word : labels.units)
            right = std::max(right, word->xMax);
        for (const Word* word : labels.times) {
            EXPECT_GE(word->xMin, left - 1.0) << word->text;
            EXPECT_LE(word->xMax, right + 0.5) << word->text;
        }
    }
}

// A whole report and a graph page kept in the build folder for a person to
// check, with the report's first page as a picture: the session's real live
// graph panel draws the curves.
TEST_F(PrintTest, aFullReportAndAGraphPageStayForAPersonToCheck)
{
    SessionGraphView::install();
    settings().printHeading = L"Kova CPR course, spring term\r\nGroup B";
    SessionRecord record = liveRecord(DURATION, 1);
    record.TrainingMode = 1;
    record.CourseDate = "2026-12-10";
    record.StartTime = "09:30";
    record.CourseInstructor = "Eva Lind";
    record.Metronome = true;
    record.Approved = 0;
    record.ApprovedBy = "Jon Berg";
    record.Note = "Hands slipped towards the stomach now and then; repeat the hand position drill.";
    std::vector<Mark> marks;
    const wchar_t* names[] = {L"Check response", L"Call for help && AED", L"Open airway", L"Check breathing"};
    for (int i = 0; i < 4; ++i)
        marks.push_back({100 + 300 * i, true, names[i]});
    for (int i = 0; i < 3; ++i)
        marks.push_back({400 + 400 * i, false, L"Compressions started"});
    Session& session = performed(record, marks);
    auto* graphs = dynamic_cast<SessionGraphView*>(session.getSessionGraphView());
    ASSERT_NE(graphs, nullptr);
    recommend(session, L"Good rhythm. Push deeper: several compressions stayed under 40 mm, and let the chest rise fully.");

    // The graph page first, while the axis shows what the panel showed.
    const std::filesystem::path out = kovatest::binaryDir() / "tests" / "app";
    const std::vector<PdfPage> graphPage = print(session, false, "print-graph-page.pdf");
    ASSERT_EQ(graphPage.size(), 1u);
    EXPECT_GT(graphPage[0].width, graphPage[0].height);
    std::filesystem::copy_file(pdf, out / "print-graph-page.pdf", std::filesystem::copy_options::overwrite_existing);

    // 90 s in strips of one minute: two strips, so the first page and one strip page.
    ASSERT_EQ(graphs->getPrintPageCount(), 2);
    const std::vector<PdfPage> report = print(session, true, "print-debriefing-report.pdf");
    ASSERT_EQ(report.size(), 3u);
    std::filesystem::copy_file(pdf, out / "print-debriefing-report.pdf", std::filesystem::copy_options::overwrite_existing);
    const kovatest::ProgramRun render = kovatest::runProgram(
        "/usr/bin/pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf, (out / "print-debriefing-report").string()});
    EXPECT_EQ(render.exitCode, 0) << render.errors;
    EXPECT_TRUE(std::filesystem::exists(out / "print-debriefing-report.png"));
    EXPECT_TRUE(report[0].has("Group B"));
    EXPECT_TRUE(report[1].has("Page 2 of 3"));
    EXPECT_TRUE(report[2].has("Call for help & AED"));
    EXPECT_TRUE(report[2].has("Approved: __ Yes ___No"));
}

} // namespace
