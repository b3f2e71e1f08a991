// The station's print dialog on a machine without a printer (the test
// machine has none): the PDF writer is offered and chosen, on a file named
// after the document, and a printout goes to the file the user types.

#include "platform/QtPrintDialogAsker.h"

#include "PrintDialogDriver.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

class QtPrintDialogAskerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            GTEST_SKIP() << "this machine has a printer";
    }

    kovatest::TempDir folder;
    platform::QtPrintDialogAsker asker;
    kovatest::PrintDialogSeen seen;
};

TEST_F(QtPrintDialogAskerTest, withoutAPrinterThePdfWriterIsChosenOnAFileNamedAfterTheDocument)
{
    QPrinter printer(QPrinter::HighResolution);
    // A printer left on a printer that has gone since.
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setDocName(QStringLiteral("Kova CPR Course Schedule"));
    const QString file = QString::fromStdString(folder.file("schedule.pdf"));
    kovatest::answerPrintDialog(seen, file);
    ASSERT_TRUE(asker.ask(printer, nullptr));

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.printers.join(QLatin1Char('|')).toStdString(), "Print to File (PDF)");
    EXPECT_EQ(seen.chosen.toStdString(), "Print to File (PDF)");
    EXPECT_TRUE(seen.fileName.endsWith(QStringLiteral("/Kova CPR Course Schedule.pdf"))) << seen.fileName.toStdString();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), file);

    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    painter.drawText(100, 100, QStringLiteral("Course schedule"));
    ASSERT_TRUE(platform::finishPrintout(painter, printer));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
}

TEST_F(QtPrintDialogAskerTest, cancelPrintsNothingAndAFileChosenBeforeIsOfferedAgain)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(QString::fromStdString(folder.file("last.pdf")));
    kovatest::answerPrintDialog(seen, {});
    EXPECT_FALSE(asker.ask(printer, nullptr));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.fileName.toStdString(), folder.file("last.pdf"));
}

TEST(QtPrintDialogAsker, theDefaultFileIsTheDocumentsNameNeverAPathOfItsOwn)
{
    for (const auto& [name, file] : {std::pair{"Kova CPR Evaluation Data", "Kova CPR Evaluation Data.pdf"},
                                     std::pair{"../../etc/x", "..-..-etc-x.pdf"}, std::pair{"", "printout.pdf"}}) {
        const QString path = platform::QtPrintDialogAsker::defaultPdfFile(QString::fromUtf8(name));
        EXPECT_TRUE(path.endsWith(QLatin1Char('/') + QString::fromUtf8(file))) << path.toStdString();
    }
}

} // namespace
