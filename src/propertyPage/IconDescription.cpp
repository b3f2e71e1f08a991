#include "propertyPage/IconDescription.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/gstringUtil.h"
#include "controls/IconImageList.h"
#include "controls/RoundButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

IconDescription::IconDescription(const std::vector<int>& pictures, const std::vector<std::string>& legends,
                                 QWidget* parent)
    : TemplateDialog(TEMPLATE_ID, parent), pictures_(pictures), legends_(legends)
{
    KOVA_ASSERT(pictures_.size() == 6);
    KOVA_ASSERT(legends_.size() == 6);
    pictures_.resize(6, -1);
    legends_.resize(6);
}

bool IconDescription::runModal(QWidget* parent)
{
    setParent(parent, windowFlags() | Qt::Dialog);
    return doModal() == QDialog::Accepted;
}

bool IconDescription::onInitDialog()
{
    kova::translateDialog(this);
    kova::RoundButton::attach(this, kova::IDOK);
    kova::RoundButton::attach(this, kova::IDCANCEL);
    const kova::IconImageList icons(0);
    for (int i = 0; i < 6; ++i) {
        if (auto* picture = qobject_cast<QLabel*>(getDlgItem(PICTURES[i]))) {
            QPixmap bitmap(16, 15);
            bitmap.fill(palette().color(QPalette::Window));
            if (pictures_[i] >= 0 && pictures_[i] < icons.count()) {
                QPainter painter(&bitmap);
                painter.drawPixmap(0, 0, icons.pixmap(pictures_[i]));
            }
            picture->setPixmap(bitmap);
        }
        setDlgItemText(EDITS[i], QString::fromStdWString(toWide(legends_[i])));
    }
    return true;
}

void IconDescription::readLegends()
{
    for (int i = 0; i < 6; ++i)
        legends_[i] = toNarrow(getDlgItemText(EDITS[i]).toStdWString());
}

void IconDescription::onOK()
{
    readLegends();
    accept();
}

void IconDescription::onCancel()
{
    readLegends();
    reject();
}

std::string IconDescription::getDescription(int pos) const
{
    KOVA_ASSERT(pos >=0 && pos <= 5);
    return pos >= 0 && pos <= 5 ? legends_[static_cast<std::size_t>(pos)] : std::string();
}
