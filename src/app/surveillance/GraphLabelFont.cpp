#include "app/surveillance/GraphLabelFont.h"

#include "Rodezir/dialogs/FontUtil.h"

#include <QFont>

const QFont& GraphLabelFont::font()
{
    static const QFont made = [] {
        QFont font;
        kova::FontUtil::create(font, "MS Sans Serif", kova::FontUtil::pointsToLogical(80), true, false);
        return font;
    }();
    return made;
}

int GraphLabelFont::textHeight()
{
    static const int height = kova::FontUtil::getTextHeight(font());
    return height;
}
