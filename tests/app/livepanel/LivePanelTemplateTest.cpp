// Dialog 131 as the dialog builder makes it: the column of controls beside
// the graph area, texts that fit, and the pictures the live panel loads.

#include "app/livepanel/LivePanelTemplate.h"

#include "Rodezir/dialogs/TemplateDialog.h"
#include "TempDir.h"
#include "platform/Resources.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

using T = LivePanelTemplate;

bool isGroupBox(const kova::DialogControlTable& control)
{
    return control.windowClass == L"BUTTON" && (control.style & kova::BS_TYPEMASK) == kova::BS_GROUPBOX;
}

} // namespace

TEST(LivePanelTemplate, columnStaysLeftOfTheGraphAreaWithoutOverlaps)
{
    const kova::DialogTable table = T::table();
    const auto graphLabel = std::find_if(table.controls.begin(), table.controls.end(),
                                         [](const auto& c) { return c.id == T::IDC_VENTILATION_LABEL; });
    ASSERT_NE(graphLabel, table.controls.end());
    std::vector<const kova::DialogControlTable*> column;
    for (const auto& c : table.controls) {
        if (c.id >= T::IDC_VENTILATION_LABEL && c.id <= T::IDC_RATE_LABEL)
            continue;
        if (!(c.style & kova::WS_VISIBLE) || isGroupBox(c))
            continue;
        EXPECT_LT(c.x + c.cx, graphLabel->x) << c.id;
        column.push_back(&c);
    }
    for (std::size_t i = 0; i < column.size(); ++i)
        for (std::size_t j = i + 1; j < column.size(); ++j) {
            const auto& a = *column[i];
            const auto& b = *column[j];
            // A drop-down list's rectangle holds its open list: only its closed line counts.
            const int aHeight = a.windowClass == L"COMBOBOX" ? 12 : a.cy;
            const int bHeight = b.windowClass == L"COMBOBOX" ? 12 : b.cy;
            const bool apart = a.x + a.cx <= b.x || b.x + b.cx <= a.x || a.y + aHeight <= b.y || b.y + bHeight <= a.y;
            EXPECT_TRUE(apart) << a.id << " overlaps " << b.id;
        }
}

TEST(LivePanelTemplate, buildsWithEveryControlAndTextsThatFit)
{
    T::registerTemplate();
    kova::TemplateDialog dialog(T::TEMPLATE_ID);
    ASSERT_TRUE(dialog.create());
    dialog.show();
    QTest::qWait(20);
    for (const int id : {T::IDC_TIME_GROUP, T::IDC_TIME_BAR, T::IDC_START, T::IDC_PAUSE, T::IDC_ZOOM_LIST,
                         T::IDC_ZOOM_SPIN, T::IDC_MAGNIFY, T::IDC_DE_MAGNIFY, T::IDC_PROBLEMS, T::IDC_EVENTS,
                         T::IDC_CR_RATIO, T::IDC_CARDIAC_OUTPUT, T::IDC_ECG_SIGNAL, T::IDC_PRINT, T::IDC_HELP,
                         T::IDC_DEBRIEFING, T::IDC_ECG_BOX, T::IDC_BATTERY, T::IDC_VENTILATION_LABEL,
                         T::IDC_COMPRESSION_LABEL, T::IDC_POSITION_LABEL, T::IDC_RATE_LABEL, 1, 2})
        EXPECT_TRUE(dialog.getDlgItem(id)) << id;
    for (const int id : {T::IDC_PROBLEMS, T::IDC_EVENTS, T::IDC_CR_RATIO, T::IDC_CARDIAC_OUTPUT, T::IDC_ECG_SIGNAL,
                         T::IDC_PRINT, T::IDC_HELP, T::IDC_DEBRIEFING, T::IDC_ECG_BOX, 2}) {
        const QWidget* control = dialog.getDlgItem(id);
        ASSERT_TRUE(control) << id;
        EXPECT_LE(control->sizeHint().width(), control->width()) << id;
    }
    EXPECT_FALSE(dialog.getDlgItem(1)->isVisible());
    EXPECT_FALSE(dialog.getDlgItem(T::IDC_ECG_BOX)->isEnabled());
    EXPECT_FALSE(dialog.getDlgItem(T::IDC_MAGNIFY)->isEnabled());
    EXPECT_EQ(dialog.getDlgItemText(T::IDC_RATE_LABEL), "- comp./min");

    const auto path = kovatest::binaryDir() / "live-panel-template.png";
    ASSERT_TRUE(dialog.grab().save(QString::fromStdString(path.string())));
}

TEST(LivePanelTemplate, batteryPicturesAndZoomCursorsAreCompiledIn)
{
    // A sheet of all eight, four times their size, for a person to look at.
    QImage sheet(8 * 40 * 4, 32 * 4, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&sheet);
    painter.scale(4, 4);
    int x = 0;
    for (const int id : {307, 289, 290, 291, 292, 293}) {
        const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, id);
        ASSERT_TRUE(bytes) << id;
        const QImage image = QImage::fromData(bytes->data(), static_cast<int>(bytes->size()));
        EXPECT_EQ(image.size(), QSize(36, 18)) << id;
        // Silver around the battery, for the face colour to take its place.
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xC0C0C0u) << id;
        painter.drawImage(x, 4, image);
        x += 40;
    }
    for (const int id : {1025, 1026}) {
        const auto bytes = platform::loadResource(platform::ResourceType::Cursor, id);
        ASSERT_TRUE(bytes) << id;
        const QImage image = QImage::fromData(bytes->data(), static_cast<int>(bytes->size()));
        EXPECT_EQ(image.size(), QSize(32, 32)) << id;
        EXPECT_TRUE(image.hasAlphaChannel()) << id;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << id;
        painter.fillRect(x, 0, 32, 32, QColor(150, 150, 150));
        painter.drawImage(x, 0, image);
        x += 40;
    }
    painter.end();
    const auto path = kovatest::binaryDir() / "live-panel-pictures.png";
    ASSERT_TRUE(sheet.save(QString::fromStdString(path.string())));
}
