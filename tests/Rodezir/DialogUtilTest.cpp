// Dialogs too large for the screen get the small font.
#include "Rodezir/DialogUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace kova;

constexpr int IDD_WIDE = 30201;
constexpr int IDD_MISSING = 30299;

DialogTable wideDialog(int cx, int cy)
{
    DialogTable table;
    table.id = IDD_WIDE;
    table.caption = L"Course planner";
    table.fontFace = L"MS Sans Serif";
    table.pointSize = 8;
    table.cx = cx;
    table.cy = cy;
    table.controls = {label(L"Course:", IDC_STATIC, 7, 7, 40, 8), defPushButton(L"OK", IDOK, 7, 20, 50, 14)};
    return table;
}

class DialogUtilTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void SetUp() override { DialogRegistry::add(wideDialog(300, 200)); }
    void TearDown() override
    {
        DialogRegistry::remove(IDD_WIDE);
        LogStream::destroy();
    }
    SIZE pixelsOfWideDialog() const
    {
        const DialogTemplate original(IDD_WIDE);
        return original.toPixels(original.getSize());
    }
};

TEST(SmallFontRule, strictlyMoreThanEightyPercentIsTooLarge)
{
    const RECT workArea{0, 40, 1000, 540}; // 1000 x 500
    struct Case {
        SIZE dialog;
        bool tooLarge;
    };
    const Case cases[] = {
        {{800, 100}, false}, {{810, 100}, true}, {{100, 400}, false}, {{100, 405}, true}, {{800, 400}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isTooLargeForWorkArea(c.dialog, workArea), c.tooLarge) << c.dialog.cx << " x " << c.dialog.cy;
}

TEST_F(DialogUtilTest, smallFontRuleFollowsTheCharacterSetAndTheInstalledFaces)
{
    struct Case {
        SmallFontFacts facts;
        std::string face;
        int pointSize;
    };
    const Case cases[] = {
        {{false, true}, "Small Fonts", 7},
        {{true, true}, "MS Sans Serif", 7},
        {{true, false}, "MS Sans Serif", 7},
        {{false, false}, "MS Sans Serif", 8},
    };
    for (const auto& c : cases) {
        DialogTemplate dialogTemplate(IDD_WIDE);
        applySmallDialogFont(dialogTemplate, c.facts);
        EXPECT_EQ(dialogTemplate.getFont().face, c.face);
        EXPECT_EQ(dialogTemplate.getFont().pointSize, c.pointSize);
    }
}

TEST_F(DialogUtilTest, templateFittingScreenShrinksOnlyADialogAboveEightyPercent)
{
    const SIZE pixels = pixelsOfWideDialog();
    const SmallFontFacts western{false, true};
    // The narrowest work area of which the dialog takes at most 80 %, and one a pixel narrower.
    const int widest = (pixels.cx * 5 + 3) / 4;
    const RECT roomy{0, 0, widest, pixels.cy * 2};
    const RECT narrow{0, 0, widest - 1, pixels.cy * 2};

    EXPECT_EQ(templateFittingScreen(IDD_WIDE, roomy, western).getFont().pointSize, 8);
    const DialogTemplate shrunk = templateFittingScreen(IDD_WIDE, narrow, western);
    EXPECT_EQ(shrunk.getFont().face, "Small Fonts");
    EXPECT_EQ(shrunk.getFont().pointSize, 7);
    EXPECT_TRUE(templateFittingScreen(IDD_MISSING, narrow, western).isEmpty());
}

TEST_F(DialogUtilTest, createsTheDialogFromTheFittedTemplate)
{
    const RECT workArea = getMonitorWorkArea();
    ASSERT_FALSE(workArea.isEmpty());
    // A dialog of several screens is built with what the rule makes of its template on this system.
    DialogRegistry::add(wideDialog(4000, 3000));
    DialogTemplate expected(IDD_WIDE);
    applySmallDialogFont(expected);
    auto dialog = createDialogFittingScreen(dialogFactory<TemplateDialog>(), IDD_WIDE, nullptr);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isCreated());
    EXPECT_EQ(dialog->dialogTemplate().getFont().face, expected.getFont().face);
    EXPECT_EQ(dialog->dialogTemplate().getFont().pointSize, expected.getFont().pointSize);
    EXPECT_NE(dialog->getDlgItem(IDOK), nullptr);

    // One that fits keeps its template as it is.
    DialogRegistry::add(wideDialog(40, 30));
    auto small = createDialogFittingScreen(dialogFactory<TemplateDialog>(), IDD_WIDE, nullptr);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->dialogTemplate().getFont().pointSize, 8);

    auto forced = createDialogWithSmallFont(dialogFactory<TemplateDialog>(), IDD_WIDE, nullptr);
    ASSERT_TRUE(forced);
    EXPECT_EQ(forced->dialogTemplate().getFont().face, expected.getFont().face);

    EXPECT_FALSE(createDialogFittingScreen(dialogFactory<TemplateDialog>(), IDD_MISSING, nullptr));
    EXPECT_EQ(doModalFittingScreen(dialogFactory<TemplateDialog>(), IDD_MISSING, nullptr), IDCANCEL);
    EXPECT_EQ(doModalWithSmallFont(dialogFactory<TemplateDialog>(), IDD_MISSING, nullptr), IDCANCEL);
}

} // namespace
