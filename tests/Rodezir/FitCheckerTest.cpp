// Whether translated texts fit their controls, sizing a control to its text,
// and the report of a sweep over the dialogs.
#include "Rodezir/FitChecker.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <map>

namespace {

using namespace kova;

TEST(FitChecker, marginsByClassAndStyle)
{
    struct Case {
        const char* className;
        std::uint32_t style;
        TextMargins margins;
    };
    const Case cases[] = {
        {"Button", BS_OWNERDRAW, {0, 0, 0, 0, false, false}},
        {"BUTTON", BS_GROUPBOX, {10, 0, 0, 2, true, false}},
        {"Button", BS_AUTOCHECKBOX | BS_MULTILINE, {19, 0, 0, 0, true, true}},
        {"Button", BS_AUTORADIOBUTTON, {19, 0, 0, 0, true, false}},
        {"Button", BS_CHECKBOX | BS_PUSHLIKE, {2, 2, 2, 2, true, false}},
        {"Button", BS_DEFPUSHBUTTON | BS_MULTILINE, {2, 2, 2, 2, true, true}},
        {"Static", SS_ICON, {0, 0, 0, 0, true, false}},
        {"Static", SS_LEFT, {1, 0, 0, 0, true, true}},
        {"Static", SS_CENTER, {1, 0, 0, 0, true, true}},
        // Tested in table order, the kinds 4 and 8 take a left-aligned static without word wrap first.
        {"Static", SS_LEFTNOWORDWRAP, {0, 0, 0, 0, true, false}},
        {"Static", SS_SIMPLE, {0, 0, 0, 0, true, false}},
        {"Edit", ES_AUTOHSCROLL, {0, 0, 0, 0, false, false}},
        {"Edit", ES_MULTILINE | ES_AUTOVSCROLL, {0, 0, 0, 0, false, true}},
        {"Edit", ES_MULTILINE, {0, 0, 0, 0, true, true}},
        {"ListBox", 0, {0, 0, 0, 0, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textMarginsFor(c.className, c.style), c.margins) << c.className << " " << c.style;
}

constexpr int IDD_FIT = 30301;
constexpr int IDC_OK_BUTTON = 1101;
constexpr int IDC_WRAPPING_CHECK = 1102;
constexpr int IDC_GROUP = 1103;
constexpr int IDC_NAME = 1104;
constexpr int IDC_ICON = 1105;
constexpr int IDC_HIDDEN = 1106;
constexpr int IDC_DEPTH_LABEL = 1107;

// A dialog whose controls are sized for short texts; `texts` gives what the
// translation makes of the marked ones.
DialogTable fitDialog()
{
    DialogTable table;
    table.id = IDD_FIT;
    table.caption = L"\u00A4Depth check";
    table.cx = 200;
    table.cy = 120;
    table.controls = {
        groupBox(L"\u00A4Limits", IDC_GROUP, 4, 4, 120, 50),
        label(L"\u00A4Depth:", IDC_DEPTH_LABEL, 10, 16, 30, 8),
        control(L"\u00A4Show the depth", IDC_WRAPPING_CHECK, L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP,
                10, 30, 100, 20),
        editText(IDC_NAME, 130, 10, 60, 12),
        control(L"#140", IDC_ICON, L"STATIC", SS_ICON, 130, 30, 0, 0),
        control(L"\u00A4Hidden", IDC_HIDDEN, L"BUTTON", BS_PUSHBUTTON, 130, 50, 10, 10),
        defPushButton(L"\u00A4OK", IDC_OK_BUTTON, 140, 100, 50, 14),
    };
    table.controls[5].style &= ~WS_VISIBLE;
    return table;
}

class FitCheckerTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    std::map<std::string, std::wstring> translations;

    void SetUp() override
    {
        DialogRegistry::add(fitDialog());
        setDialogTranslator([this](const std::string& msgid) {
            const auto found = translations.find(msgid);
            return found == translations.end() ? std::wstring(msgid.begin(), msgid.end()) : found->second;
        });
    }
    void TearDown() override
    {
        setDialogTranslator({});
        DialogRegistry::remove(IDD_FIT);
    }
};

// The minus-one rule: a text 57 pixels wide fits the 56 pixels of a 60-pixel push button.
TEST_F(FitCheckerTest, pushButtonTextFitsUpToOnePixelMoreThanTheRoomInside)
{
    QWidget parent;
    QPushButton button(QStringLiteral("Kompressionstiefe"), &parent);
    const QFontMetrics metrics(button.font());
    const int textWidth = metrics.horizontalAdvance(button.text());
    button.resize(textWidth + 3, metrics.height() + 3);
    EXPECT_EQ(getTextExtent(&button, 0), (SIZE{textWidth - 1, metrics.height() - 1}));
    EXPECT_EQ(textFits(&button), TEXT_FITS);
    button.resize(textWidth + 2, metrics.height() + 3);
    EXPECT_EQ(textFits(&button), TEXT_TOO_LARGE);
    button.resize(textWidth + 3, metrics.height() + 2);
    EXPECT_EQ(textFits(&button), TEXT_TOO_LARGE);
}

TEST_F(FitCheckerTest, controlsAreJudgedByTheirTemplateClassAndStyle)
{
    TemplateDialog dialog(IDD_FIT);
    ASSERT_TRUE(dialog.create());
    const QWidget* check = dialog.getDlgItem(IDC_WRAPPING_CHECK);
    const QFontMetrics metrics(check->font());
    const int lineHeight = metrics.height();

    // A multi-line check box wraps at its width less 19 before its height is compared.
    auto* wrapping = dialog.getDlgItem(IDC_WRAPPING_CHECK);
    const int longest = std::max(metrics.horizontalAdvance("Show"), metrics.horizontalAdvance("depth"));
    const int twoWords = metrics.horizontalAdvance("Show") + metrics.horizontalAdvance(" ") + metrics.horizontalAdvance("the");
    wrapping->resize(19 + std::max(longest, twoWords) + 1, 2 * lineHeight);
    EXPECT_EQ(getTextMargins(wrapping), (TextMargins{19, 0, 0, 0, true, true}));
    EXPECT_EQ(textFits(wrapping), TEXT_FITS);
    wrapping->resize(wrapping->width(), 2 * lineHeight - 2);
    EXPECT_EQ(textFits(wrapping), TEXT_TOO_LARGE);

    // A group box gives up 10 pixels of width and 2 of height.
    auto* group = dialog.getDlgItem(IDC_GROUP);
    const int title = metrics.horizontalAdvance(windowText(group));
    group->resize(title + 9, lineHeight + 1);
    EXPECT_EQ(textFits(group), TEXT_FITS);
    group->resize(title + 8, lineHeight + 1);
    EXPECT_EQ(textFits(group), TEXT_TOO_LARGE);

    // An auto-scrolling edit is never judged, whatever it holds; an icon's empty text always fits.
    auto* edit = dialog.getDlgItem(IDC_NAME);
    setWindowText(edit, QString(200, QLatin1Char('W')));
    EXPECT_EQ(textFits(edit), NOT_A_TEXT_CONTROL);
    auto* icon = dialog.getDlgItem(IDC_ICON);
    EXPECT_EQ(getTextMargins(icon), (TextMargins{0, 0, 0, 0, true, false}));
    EXPECT_EQ(getTextExtent(icon, 0), (SIZE{-1, -1}));
    EXPECT_EQ(textFits(icon), TEXT_FITS);
}

TEST_F(FitCheckerTest, fitControlToTextSizesAnEmptyLabelToItsText)
{
    QWidget parent;
    QLabel label(QStringLiteral("Ventilation volume"), &parent);
    label.setGeometry(12, 30, 0, 0);
    fitControlToText(&label);
    const QFontMetrics metrics(label.font());
    // A label without word wrap has no margins: it ends with the text extent, each side less 1.
    EXPECT_EQ(label.geometry(), QRect(12, 30, metrics.horizontalAdvance(label.text()) - 1, metrics.height() - 1));
    EXPECT_EQ(textFits(&label), TEXT_FITS);
}

TEST_F(FitCheckerTest, reportNamesTooLargeVisibleControlsWithTheirParent)
{
    translations = {{"OK", L"Einverstanden und weiter"}, {"Hidden", L"Verborgen und viel zu lang"}};
    TemplateDialog dialog(IDD_FIT);
    ASSERT_TRUE(dialog.create());
    translateDialog(&dialog);
    const ResourceNameMap names{{IDC_OK_BUTTON, "IDC_OK_BUTTON"}};
    EXPECT_EQ(checkDialog(&dialog, names),
              "  The text='Einverstanden und weiter' in control IDC_OK_BUTTON(1101) with parent 'Depth check' is too large\n");
    EXPECT_EQ(checkControl(dialog.getDlgItem(IDC_HIDDEN), names), "");
    QWidget orphan;
    QPushButton unnamed(QString(60, QLatin1Char('W')), &orphan);
    unnamed.resize(20, 20);
    EXPECT_EQ(checkControl(&unnamed, {}), "  The text='" + std::string(60, 'W') + "' in control (0) is too large\n");
}

TEST_F(FitCheckerTest, sweepOverTheDialogsWritesItsReport)
{
    EXPECT_EQ(checkAllDialogs({{IDC_OK_BUTTON, "IDC_OK_BUTTON"}, {IDD_FIT, "DLG_FIT"}}), "");

    kovatest::writeFile(dir.path() / "resource.h", "#define IDD_FIT 30301\n#define IDD_ABSENT 30399\n"
                                                   "#define IDC_OK_BUTTON 1101\n#define IDC_GROUP 1103\n");
    const ResourceNameMap names = readResourceHeader(dir.file("resource.h"));
    EXPECT_EQ(checkAllDialogs(names), "") << "the English texts fit";

    translations = {{"OK", L"Einverstanden und weiter"},
                    {"Limits", L"Grenzwerte der Kompressionstiefe und der Beatmung"},
                    {"Depth check", L"Tiefenpr\u00fcfung"}};
    const std::string report = checkAllDialogs(names);
    const std::filesystem::path reports = kovatest::binaryDir() / "screenshots";
    std::filesystem::create_directories(reports);
    kovatest::writeFile(reports / "fit-check-report.txt", report);
    EXPECT_EQ(report, "IDD_FIT\n"
                      "  The text='Grenzwerte der Kompressionstiefe und der Beatmung' in control IDC_GROUP(1103) "
                      "with parent 'Tiefenpr\xc3\xbc" "fung' is too large\n"
                      "  The text='Einverstanden und weiter' in control IDC_OK_BUTTON(1101) "
                      "with parent 'Tiefenpr\xc3\xbc" "fung' is too large\n"
                      "\n");

    TemplateDialog shown(IDD_FIT);
    ASSERT_TRUE(shown.create());
    translateDialog(&shown);
    ASSERT_TRUE(shown.grab().save(QString::fromStdString((reports / "fit-check-dialog.png").string())));
}

} // namespace
