#include "controls/MapBitmapButton.h"

#include "Rodezir/FitChecker.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "controls/ControlReplacement.h"
#include "platform/Resources.h"

#include <QApplication>
#include <QPainter>

#include <memory>

namespace kova {
namespace {

struct ColourMapEntry {
    COLORREF from;
    COLORREF to; // 0xFFFFFFFF: the face colour
};

constexpr COLORREF FACE = 0xFFFFFFFF;
constexpr std::array<ColourMapEntry, 3> COLOUR_MAP = {{
    {0x00FFFF, 0xFDE197},
    {0xFFFF00, 0xFEECBC},
    {0xC0C0C0, FACE},
}};

constexpr int LABEL_GAP = 6;

QImage loadPicture(int id)
{
    const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, id);
    QImage image;
    if (bytes && image.loadFromData(bytes->data(), static_cast<int>(bytes->size())))
        return image.convertToFormat(QImage::Format_RGB32);
    LogStream::instance() << "Could not load the button bitmap " << id << "\n";
    return {};
}

QColor faceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

QImage mapButtonColours(const QImage& source, const QColor& face)
{
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const COLORREF pixel = refFromColor(QColor(line[x]));
            for (const ColourMapEntry& entry : COLOUR_MAP) {
                if (pixel == entry.from) {
                    line[x] = (entry.to == FACE ? face : colorFromRef(entry.to)).rgb();
                    break;
                }
            }
        }
    }
    return image;
}

MapBitmapButton::MapBitmapButton(QWidget* parent) : QAbstractButton(parent) {}

MapBitmapButton::~MapBitmapButton()
{
    delete label_.data();
}

bool MapBitmapButton::loadBitmaps(int normalId, int selectedId, int focusId, int disabledId, int selectedFocusId)
{
    for (QImage& bitmap : bitmaps_)
        bitmap = QImage();
    bitmaps_[NORMAL] = loadPicture(normalId);
    if (bitmaps_[NORMAL].isNull())
        return false;
    bool all = true;
    const QColor face = faceColour();
    const std::array<std::pair<Picture, int>, 3> mapped = {
        {{SELECTED, selectedId}, {FOCUS, focusId}, {SELECTED_FOCUS, selectedFocusId}}};
    for (const auto& [which, id] : mapped) {
        if (id == 0)
            continue;
        const QImage picture = loadPicture(id);
        if (picture.isNull())
            all = false;
        else
            bitmaps_[which] = mapButtonColours(picture, face);
    }
    if (disabledId != 0) {
        bitmaps_[DISABLED] = loadPicture(disabledId);
        all = all && !bitmaps_[DISABLED].isNull();
    }
    update();
    return all;
}

bool MapBitmapButton::autoLoad(int controlId, QWidget* parentDialog, int normalId, int selectedId, int focusId,
                               int disabledId, int selectedFocusId)
{
    if (!replaceDialogControl(parentDialog, controlId, this))
        return false;
    loadBitmaps(normalId, selectedId, focusId, disabledId, selectedFocusId);
    if (bitmaps_[NORMAL].isNull())
        return false;
    resize(bitmaps_[NORMAL].size());
    return true;
}

const QImage& MapBitmapButton::pictureFor(unsigned state) const
{
    const bool selected = state & ODS_SELECTED;
    const bool focused = state & ODS_FOCUS;
    if (selected && focused && !bitmaps_[SELECTED_FOCUS].isNull())
        return bitmaps_[SELECTED_FOCUS];
    if (selected && !bitmaps_[SELECTED].isNull())
        return bitmaps_[SELECTED];
    if (focused && !bitmaps_[FOCUS].isNull())
        return bitmaps_[FOCUS];
    if ((state & ODS_DISABLED) && !bitmaps_[DISABLED].isNull())
        return bitmaps_[DISABLED];
    return bitmaps_[NORMAL];
}

void MapBitmapButton::DrawItem(QPainter& painter, const DrawItemStruct& item) const
{
    KOVA_ASSERT(!bitmaps_[NORMAL].isNull());
    const QImage& picture = pictureFor(item.itemState);
    if (picture.isNull())
        return;
    // A plain copy from the picture's top-left corner, at the item's size, unscaled.
    painter.drawImage(item.rcItem.topLeft(), picture, QRect(QPoint(0, 0), item.rcItem.size()));
}

void MapBitmapButton::createLabel(int labelId)
{
    delete label_.data();
    QWidget* parent = parentWidget();
    auto* label = new HiddenTextStatic(parent);
    setControlId(label, labelId);
    label->setText(text());
    label->setFont(font());
    label->resize(0, 0);
    // The fitting reads the text back, which the label only allows while show-text is set.
    label->setShowText(true);
    fitControlToText(label);
    placeWindowBeside(label, getWindowRectInParent(this), PLACE_RIGHT_CENTRED, LABEL_GAP);
    label->setShowText(false);
    label->setVisible(!isHidden());
    label_ = label;
}

QSize MapBitmapButton::sizeHint() const
{
    return bitmaps_[NORMAL].isNull() ? QSize(16, 16) : bitmaps_[NORMAL].size();
}

void MapBitmapButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawItem(painter, drawItemOf(*this));
}

} // namespace kova
