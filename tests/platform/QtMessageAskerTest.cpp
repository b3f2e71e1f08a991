#include "platform/QtMessageAsker.h"
#include "platform/WaitCursor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Presses the default button of the box once it is up, as a user pressing Enter.
void pressDefaultWhenShown(QString* seenText)
{
    QTimer::singleShot(0, [seenText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *seenText = box->text();
        box->defaultButton()->click();
    });
}

TEST(QtMessageAsker, stylesGiveTheirButtonsAndDefaults)
{
    struct Case {
        unsigned style;
        int answer;
    };
    const Case cases[] = {
        {platform::MB_OK | platform::MB_ICONERROR, platform::IDOK},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, platform::IDYES},
        {platform::MB_YESNOCANCEL | platform::MB_DEFBUTTON2, platform::IDNO},
        {platform::MB_RETRYCANCEL, platform::IDRETRY},
        {platform::MB_OKCANCEL | platform::MB_DEFBUTTON2, platform::IDCANCEL},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON3, platform::IDCANCEL},
        // A third default on two buttons is the last one, the choice that changes nothing.
        {platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON3, platform::IDNO},
    };
    platform::QtMessageAsker asker;
    for (const Case& c : cases) {
        QString seen;
        pressDefaultWhenShown(&seen);
        EXPECT_EQ(asker.ask(L"Records \u00e9t\u00e9", L"Kova CPR Software", c.style), c.answer) << c.style;
        EXPECT_EQ(seen, QString::fromUtf8("Records \u00e9t\u00e9"));
    }
}

TEST(QtMessageAsker, aBoxAskedUnderTheWaitCursorIsAnsweredWithTheArrow)
{
    platform::QtMessageAsker asker;
    const platform::WaitCursor busy;
    Qt::CursorShape overTheBox = Qt::WaitCursor;
    QTimer::singleShot(0, [&overTheBox] {
        if (const QCursor* cursor = QGuiApplication::overrideCursor())
            overTheBox = cursor->shape();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->defaultButton()->click();
    });
    EXPECT_EQ(asker.ask(L"The data file is damaged.", L"Kova CPR Software", platform::MB_OK), platform::IDOK);
    EXPECT_EQ(overTheBox, Qt::ArrowCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor) << "the operation goes on waiting";
}

// A window manager cuts a caption wider than the title bar leaves it ("Print...
// error"): a box with a short text is still wide enough for its whole caption
// beside the title bar's buttons.
TEST(QtMessageAsker, aShortBoxIsWideEnoughForItsWholeCaption)
{
    platform::QtMessageAsker asker;
    for (const std::wstring caption : {L"Printer error", L"Unexpected problem occurred while opening data files"}) {
        int width = 0;
        int needed = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QFont title = box->font();
            title.setBold(true);
            needed = QFontMetrics(title).horizontalAdvance(box->windowTitle()) + platform::QtMessageAsker::TITLE_BAR_ROOM;
            width = box->width();
            box->defaultButton()->click();
        });
        asker.ask(L"Error initializing printer", caption, platform::MB_OK);
        EXPECT_GE(width, needed);
    }
}

TEST(QtMessageAsker, aBoxStandsOverTheModalWindowTheUserIsIn)
{
    QWidget mainWindow;
    platform::QtMessageAsker asker(&mainWindow);
    const auto ownerOfBox = [&asker] {
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&owner] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            owner = box->parentWidget();
            box->defaultButton()->click();
        });
        asker.ask(L"Save the changes?", L"Kova CPR Software", platform::MB_YESNO);
        return owner;
    };
    QDialog editor;
    editor.setModal(true);
    editor.show();
    EXPECT_EQ(ownerOfBox(), &editor);
    editor.hide();
    EXPECT_EQ(ownerOfBox(), &mainWindow) << "without a modal window, over the main window";
}

} // namespace
