#include "platform/QtFileDialogAsker.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <functional>

namespace {

// Acts on the file dialog once it is up, as the user would.
void whenShown(std::function<void(QFileDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

platform::FileDialogRequest sessionFileRequest(bool save)
{
    platform::FileDialogRequest request;
    request.save = save;
    request.title = L"Export sessions";
    request.filter = L"Session database (*.sdb)|*.sdb|";
    request.defaultExtension = "sdb";
    request.options = platform::OFN_HIDEREADONLY | (save ? platform::OFN_OVERWRITEPROMPT : platform::OFN_FILEMUSTEXIST);
    return request;
}

TEST(QtFileDialogAsker, aSaveDialogShowsTheFilterAndAddsTheDefaultExtension)
{
    kovatest::TempDir folder;
    platform::QtFileDialogAsker asker;
    whenShown([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export sessions"));
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("Session database (*.sdb)")});
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        dialog.selectFile(QString::fromStdString(folder.file("course")));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(asker.ask(sessionFileRequest(true)), folder.file("course.sdb"));

    whenShown([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        dialog.reject();
    });
    EXPECT_EQ(asker.ask(sessionFileRequest(false)), std::nullopt);
}

TEST(QtFileDialogAsker, filtersWithoutPatternsInTheirNameGetThem)
{
    EXPECT_EQ(platform::QtFileDialogAsker::nameFilters(L"Pictures|*.png;*.bmp|All files (*.*)|*.*|"),
              (QStringList{QStringLiteral("Pictures (*.png *.bmp)"), QStringLiteral("All files (*.*)")}));
    EXPECT_TRUE(platform::QtFileDialogAsker::nameFilters(L"").isEmpty());
}

} // namespace
