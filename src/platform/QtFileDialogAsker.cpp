#include "platform/QtFileDialogAsker.h"

#include <QApplication>
#include <QFileDialog>

namespace platform {

QStringList QtFileDialogAsker::nameFilters(const std::wstring& filter)
{
    QStringList filters;
    for (const auto& [name, patterns] : filterEntries(filter)) {
        const QString shown = QString::fromStdWString(name);
        // Qt reads the patterns from the parentheses of the name; a name
        // without them gets its patterns added.
        if (shown.contains(QLatin1Char('(')))
            filters << shown;
        else
            filters << shown + QStringLiteral(" (") + QString::fromStdWString(patterns).replace(QLatin1Char(';'), QLatin1Char(' '))
                           + QLatin1Char(')');
    }
    return filters;
}

std::optional<std::string> QtFileDialogAsker::ask(const FileDialogRequest& request)
{
    QWidget* modal = QApplication::activeModalWidget();
    QFileDialog dialog(modal ? modal : parent_, QString::fromStdWString(request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
    QFileDialog::Options options;
    if (request.save && !(request.options & OFN_OVERWRITEPROMPT))
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace platform
