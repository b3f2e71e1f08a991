#include "Rodezir/WindowTextUtil.h"

#include "Rodezir/DialogItem.h"

namespace kova {

QString getWindowText(const QWidget* window)
{
    return window ? windowText(window) : QString();
}

void setWindowTextIfChanged(QWidget* window, const QString& text)
{
    if (window && windowText(window) != text)
        setWindowText(window, text);
}

void setDlgItemTextIfChanged(QWidget* parent, int id, const std::string& text)
{
    setWindowTextIfChanged(getDlgItem(parent, id), QString::fromStdString(text));
}

} // namespace kova
