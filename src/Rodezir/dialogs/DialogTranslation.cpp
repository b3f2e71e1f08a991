#include "Rodezir/dialogs/DialogTranslation.h"

#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

#include <QString>
#include <QWidget>

namespace kova {
namespace {

DialogTranslator& customTranslator()
{
    static DialogTranslator translator;
    return translator;
}

std::wstring translate(const std::string& msgid)
{
    if (customTranslator())
        return customTranslator()(msgid);
    return Gettext::translateString(msgid);
}

} // namespace

const std::string& getTranslationMarker()
{
    // The station's narrow text is UTF-8, so the marker's narrow form is
    // always the same two bytes.
    static const std::string marker = toNarrow(std::wstring(1, TRANSLATION_MARKER));
    return marker;
}

std::size_t getTranslationMarkerLength()
{
    return getTranslationMarker().size();
}

void setDialogTranslator(DialogTranslator translator)
{
    customTranslator() = std::move(translator);
}

void translateWindowText(QWidget* window)
{
    if (!window)
        return;
    // Texts are read as a window text buffer holds them: at most 1023
    // characters, longer ones are cut before they are tested and translated.
    std::wstring text = windowText(window).toStdWString();
    if (text.size() > MAX_TRANSLATED_TEXT)
        text.resize(MAX_TRANSLATED_TEXT);
    if (text.empty() || text.front() != TRANSLATION_MARKER)
        return;
    // Only the marker goes: blanks after it stay part of the message id.
    setWindowText(window, QString::fromStdWString(translate(toNarrow(text.substr(1)))));
}

void translateDialog(QWidget* window)
{
    if (!window)
        return;
    translateWindowText(window);
    const auto descendants = window->findChildren<QWidget*>();
    for (QWidget* child : descendants)
        translateWindowText(child);
}

} // namespace kova
