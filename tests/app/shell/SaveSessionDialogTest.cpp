#include "app/shell/SaveSessionDialog.h"

#include "TempDir.h"
#include "controls/RoundButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>

using Answer = SaveSessionDialog::Answer;

namespace {

QAbstractButton* button(const SaveSessionDialog& dialog, int id)
{
    return qobject_cast<QAbstractButton*>(dialog.getDlgItem(id));
}

} // namespace

TEST(SaveSessionDialog, eachWayOutGivesItsAnswer)
{
    struct Case {
        const char* what;
        int button; // 0: the Escape key
        Answer answer;
        int result;
    };
    const Case cases[] = {
        {"Yes", SaveSessionDialog::IDC_YES, {false, true, true}, QDialog::Accepted},
        {"No", SaveSessionDialog::IDC_NO, {false, false, true}, QDialog::Rejected},
        {"Review", SaveSessionDialog::IDC_REVIEW, {true, false, false}, QDialog::Rejected},
        {"Cancel", SaveSessionDialog::IDC_CANCEL, {false, false, false}, QDialog::Rejected},
        {"Escape", 0, {false, false, false}, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SaveSessionDialog dialog(L"Anna", true);
        ASSERT_TRUE(dialog.create());
        dialog.show();
        EXPECT_EQ(dialog.answer(), Answer{}) << c.what;
        if (c.button)
            QTest::mouseClick(button(dialog, c.button), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible()) << c.what;
        EXPECT_EQ(dialog.answer(), c.answer) << c.what;
        EXPECT_EQ(dialog.result(), c.result) << c.what;
    }
}

TEST(SaveSessionDialog, runsModallyUntilAnswered)
{
    SaveSessionDialog dialog(L"Anna", true);
    QTimer::singleShot(0, &dialog, [&] { button(dialog, SaveSessionDialog::IDC_NO)->click(); });
    EXPECT_EQ(dialog.doModal(), QDialog::Rejected);
    EXPECT_EQ(dialog.answer(), (Answer{false, false, true}));
}

TEST(SaveSessionDialog, reviewOnlyWhenAllowedAndTheNameAsItStands)
{
    for (const bool allowed : {true, false}) {
        SaveSessionDialog dialog(L"50% Anna %s %d", allowed);
        ASSERT_TRUE(dialog.create());
        EXPECT_EQ(button(dialog, SaveSessionDialog::IDC_REVIEW)->isEnabled(), allowed);
        EXPECT_TRUE(dialog.getDlgItemText(SaveSessionDialog::IDC_QUESTION)
                        .startsWith("Do you want to save the session '50% Anna %s %d' in the database?\n\n"));
        EXPECT_EQ(dialog.windowTitle(), "Save session?");
        for (const int id : {SaveSessionDialog::IDC_YES, SaveSessionDialog::IDC_NO, SaveSessionDialog::IDC_REVIEW,
                             SaveSessionDialog::IDC_CANCEL})
            EXPECT_TRUE(qobject_cast<kova::RoundButton*>(button(dialog, id))) << id;
        EXPECT_EQ(button(dialog, SaveSessionDialog::IDC_YES)->text(), "&Yes");
    }
}

TEST(SaveSessionDialog, pictureOfTheQuestion)
{
    SaveSessionDialog dialog(L"50% Anna Larsen", false);
    ASSERT_TRUE(dialog.create());
    dialog.show();
    QTest::qWait(20);
    // Every line of the question fits its label.
    auto* question = qobject_cast<QLabel*>(dialog.getDlgItem(SaveSessionDialog::IDC_QUESTION));
    ASSERT_TRUE(question);
    EXPECT_LE(question->heightForWidth(question->width()), question->height());

    const auto path = kovatest::binaryDir() / "save-session-question.png";
    ASSERT_TRUE(dialog.grab().save(QString::fromStdString(path.string())));
}
