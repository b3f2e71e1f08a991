// The masked edit driven through its keys and clipboard commands, as a user types.

#include "controls/MaskedEdit.h"

#include "Rodezir/LogStream.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>

#include <filesystem>

namespace {

// Counts the beeps instead of sounding them.
class TestEdit : public kova::MaskedEdit {
public:
    using kova::MaskedEdit::MaskedEdit;
    void OnInputError() override { ++beeps; }
    int beeps = 0;
};

// Each character as one key press carrying its text, as typing sends it.
void type(QWidget& edit, const QString& keys)
{
    for (QChar c : keys) {
        const int key = c.unicode() < 128 ? QChar(c).toUpper().unicode() : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}

// "##:##" showing 12:34, the caret at `caret`.
struct TimeEdit {
    TestEdit edit{QStringLiteral("##:##")};
    TimeEdit(int caret)
    {
        edit.SetInputText(QStringLiteral("1234"));
        edit.setCursorPosition(caret);
    }
};

TEST(MaskedEdit, typingFillsTheInputPositionsAndSkipsTheSeparator)
{
    TestEdit edit(QStringLiteral("##:##"));
    EXPECT_EQ(edit.text(), QStringLiteral("  :  "));
    EXPECT_EQ(edit.cursorPosition(), 0);
    QTest::keyClick(&edit, '1');
    QTest::keyClick(&edit, '2');
    EXPECT_EQ(edit.cursorPosition(), 3) << "the caret jumps over the separator";
    type(edit, QStringLiteral("34"));
    EXPECT_EQ(edit.text(), QStringLiteral("12:34"));
    EXPECT_EQ(edit.GetInputChars(), QStringLiteral("1234"));
    EXPECT_EQ(edit.beeps, 0);
}

TEST(MaskedEdit, refusedCharactersBeepAndChangeNothing)
{
    struct Case {
        const char* mask;
        const char* typed;
        const char* shown;
        int beeps;
    };
    const Case cases[] = {
        {"##", "a", "  ", 1},
        {"%%%%", "1.25", "1.25", 0},
        {"%%%%", "1,2", "12  ", 1},
        {"AAA", "a1-", "a1 ", 1},
        {"???", "x9y", "xy ", 1},
        {">>", "ab", "AB", 0},
        {"<<", "AB", "ab", 0},
        {"&&", "~\u00e9", "~ ", 1},
    };
    for (const Case& c : cases) {
        TestEdit edit(QString::fromLatin1(c.mask));
        type(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown)) << c.mask << " typing " << c.typed;
        EXPECT_EQ(edit.beeps, c.beeps) << c.mask << " typing " << c.typed;
    }
}

TEST(MaskedEdit, insertShiftsTheFollowingDigitsAndRefusesAWholeBadInsertion)
{
    TimeEdit t(0);
    QTest::keyClick(&t.edit, '9');
    EXPECT_EQ(t.edit.text(), QStringLiteral("91:23"));
    EXPECT_EQ(t.edit.cursorPosition(), 1);

    TimeEdit refused(3);
    QTest::keyClick(&refused.edit, 'x');
    EXPECT_EQ(refused.edit.text(), QStringLiteral("12:34"));
    EXPECT_EQ(refused.edit.beeps, 1);
}

TEST(MaskedEdit, overtypeReplacesOneDigitAndTheInsertKeyToggles)
{
    TimeEdit t(1);
    QTest::keyClick(&t.edit, Qt::Key_Insert);
    EXPECT_FALSE(t.edit.GetInsertMode());
    QTest::keyClick(&t.edit, '7');
    EXPECT_EQ(t.edit.text(), QStringLiteral("17:34"));
    EXPECT_EQ(t.edit.cursorPosition(), 3);
    QTest::keyClick(&t.edit, 'q');
    EXPECT_EQ(t.edit.text(), QStringLiteral("17:34"));
    EXPECT_EQ(t.edit.beeps, 1);
}

TEST(MaskedEdit, deleteAndBackspaceCloseTheGapButNotAtALiteral)
{
    TimeEdit del(0);
    QTest::keyClick(&del.edit, Qt::Key_Delete);
    EXPECT_EQ(del.edit.text(), QStringLiteral("23:4 "));
    EXPECT_EQ(del.edit.beeps, 0);

    TimeEdit back(3);
    QTest::keyClick(&back.edit, Qt::Key_Backspace);
    EXPECT_EQ(back.edit.text(), QStringLiteral("12:34"));
    EXPECT_EQ(back.edit.beeps, 1);
    EXPECT_EQ(back.edit.cursorPosition(), 3);

    TimeEdit deleteLiteral(2);
    QTest::keyClick(&deleteLiteral.edit, Qt::Key_Delete);
    EXPECT_EQ(deleteLiteral.edit.text(), QStringLiteral("12:34"));
    EXPECT_EQ(deleteLiteral.edit.beeps, 1);

    TimeEdit backAtStart(0);
    QTest::keyClick(&backAtStart.edit, Qt::Key_Backspace);
    EXPECT_EQ(backAtStart.edit.beeps, 1);

    TimeEdit backDigit(5);
    QTest::keyClick(&backDigit.edit, Qt::Key_Backspace);
    EXPECT_EQ(backDigit.edit.text(), QStringLiteral("12:3 "));
    EXPECT_EQ(backDigit.edit.cursorPosition(), 4);
}

TEST(MaskedEdit, typingOverASelectionReplacesIt)
{
    TimeEdit t(0);
    t.edit.setSelection(0, 5);
    QTest::keyClick(&t.edit, '5');
    EXPECT_EQ(t.edit.text(), QStringLiteral("5 :  "));
    EXPECT_EQ(t.edit.cursorPosition(), 1);
}

TEST(MaskedEdit, pastedLiteralsAreSkippedAndCutRemovesTheSelection)
{
    TestEdit edit(QStringLiteral("##:##"));
    edit.pasteText(QStringLiteral("12:34"));
    EXPECT_EQ(edit.text(), QStringLiteral("12:34"));
    EXPECT_EQ(edit.cursorPosition(), 5) << "no empty position is left";

    QApplication::clipboard()->setText(QStringLiteral("9"));
    TestEdit viaKeys(QStringLiteral("##:##"));
    QTest::keyClick(&viaKeys, 'V', Qt::ControlModifier);
    EXPECT_EQ(viaKeys.text(), QStringLiteral("9 :  "));
    EXPECT_EQ(viaKeys.cursorPosition(), 1);

    TimeEdit t(0);
    t.edit.setSelection(3, 2);
    QTest::keyClick(&t.edit, 'X', Qt::ControlModifier);
    EXPECT_EQ(t.edit.text(), QStringLiteral("12:  "));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("34"));
}

TEST(MaskedEdit, promptCharacterReplacesEveryEmptyPositionAndRefusesALineFeed)
{
    const kovatest::TempDir dir;
    const kovatest::ScopedCwd cwd(dir.path());
    LogStream::destroy();
    TestEdit edit(QStringLiteral("##:##"));
    QTest::keyClick(&edit, '1');
    edit.SetPromptChar(QLatin1Char('_'));
    EXPECT_EQ(edit.text(), QStringLiteral("1_:__"));
    EXPECT_EQ(edit.GetPromptChar(), QLatin1Char('_'));

    edit.SetPromptChar(QLatin1Char('\n'));
    EXPECT_EQ(edit.text(), QStringLiteral("1_:__"));
    EXPECT_EQ(edit.GetPromptChar(), QLatin1Char('_'));
    LogStream::destroy();
    const std::string log = kovatest::readFile(dir.path() / "errors.txt");
    EXPECT_NE(log.find("(chNewPromptSymbol != chLF)"), std::string::npos) << log;
}

TEST(MaskedEdit, clearInputEmptiesTheInputsOrDropsTheMask)
{
    TimeEdit t(0);
    t.edit.ClearInput(true);
    EXPECT_EQ(t.edit.text(), QStringLiteral("  :  "));

    TimeEdit plain(0);
    plain.edit.ClearInput(false);
    EXPECT_EQ(plain.edit.positionCount(), 0);
    type(plain.edit, QStringLiteral("ab:c"));
    EXPECT_EQ(plain.edit.text(), QStringLiteral("ab:c"));
    EXPECT_EQ(plain.edit.beeps, 0);
}

TEST(MaskedEdit, masksReadBackAndLiteralsKeepTheirPlace)
{
    TestEdit edit(QStringLiteral("\\#-##/##"));
    EXPECT_EQ(edit.GetMask(), QStringLiteral("\\#-##/##"));
    EXPECT_EQ(edit.positionCount(), 7);
    EXPECT_FALSE(edit.IsInputPosition(0));
    EXPECT_FALSE(edit.IsInputPosition(-1));
    EXPECT_FALSE(edit.IsInputPosition(7));
    EXPECT_EQ(edit.NextInputPosition(-4), 2);
    EXPECT_EQ(edit.PrevInputPosition(4), 4) << "just after the input position before the literal";
    EXPECT_EQ(edit.PrevInputPosition(1), 2) << "no input before: the next one";
    EXPECT_EQ(edit.FirstEmptyPosition(0), 2);
    EXPECT_EQ(edit.text().left(2), QStringLiteral("#-"));
    EXPECT_EQ(edit.text().at(4), edit.dateSeparator());
}

TEST(MaskedEdit, arrowKeysStopOnlyOnInputPositions)
{
    TimeEdit t(1);
    QTest::keyClick(&t.edit, Qt::Key_Right);
    EXPECT_EQ(t.edit.cursorPosition(), 3);
    QTest::keyClick(&t.edit, Qt::Key_Left);
    EXPECT_EQ(t.edit.cursorPosition(), 2) << "just after the digit before the separator";
    QTest::keyClick(&t.edit, Qt::Key_Home);
    EXPECT_EQ(t.edit.cursorPosition(), 0);
}

TEST(MaskedEdit, textSetFromInputSkipsRefusedCharactersAndKeepsLeadingInputs)
{
    TestEdit edit(QStringLiteral("####-##-##"));
    EXPECT_TRUE(edit.SetInputText(QStringLiteral("20260315")));
    EXPECT_EQ(edit.GetInputChars(), QStringLiteral("20260315"));
    EXPECT_FALSE(edit.SetInputText(QStringLiteral("x99"), 4));
    EXPECT_EQ(edit.GetInputChars(), QStringLiteral("202699  "));
}

} // namespace

namespace {

// Refuses to let the focus go, as a field with incomplete input would.
class InsistingEdit : public TestEdit {
public:
    using TestEdit::TestEdit;
    bool OnCheckInput() override { return false; }
};

TEST(MaskedEdit, tabbingInPutsTheCaretOnTheFirstInputAndARefusedCheckKeepsTheFocus)
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* edit = new InsistingEdit(QStringLiteral("\\#-##"), &window);
    edit->move(0, 30);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    edit->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText()) << "the whole-text selection of tabbing in is dropped";
    EXPECT_EQ(edit->cursorPosition(), 2);

    other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->beeps, 1);
}

} // namespace
