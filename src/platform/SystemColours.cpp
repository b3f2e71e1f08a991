#include "platform/SystemColours.h"

#include <QApplication>
#include <QPalette>

namespace platform {

void applySystemColours(QApplication& application)
{
    QPalette palette = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(GRAY_TEXT));
    application.setPalette(palette);
}

} // namespace platform
