#pragma once
// The file dialogs the windowed program installs: Qt's open and save dialogs
// with the station's filter, default extension and options, over the modal
// window that asks (or the given window when none is up).

#include "platform/FileDialog.h"

#include <QStringList>

class QWidget;

namespace platform {

class QtFileDialogAsker final : public FileDialogAsker {
public:
    explicit QtFileDialogAsker(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> ask(const FileDialogRequest& request) override;

    // "Session database (*.sdb)|*.sdb|" as Qt's name filters.
    static QStringList nameFilters(const std::wstring& filter);

private:
    QWidget* parent_;
};

} // namespace platform
