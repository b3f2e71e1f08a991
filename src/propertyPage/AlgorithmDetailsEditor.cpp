#include "propertyPage/AlgorithmDetailsEditor.h"

#include "Database/editors/AlgorithmDialog.h"

#include <QApplication>

AlgorithmDetailsEditor::AlgorithmDetailsEditor(const std::string& name, bool allowDelete)
    : dialog_(std::make_unique<AlgorithmDialog>(name, allowDelete, QApplication::activeWindow()))
{
}

AlgorithmDetailsEditor::~AlgorithmDetailsEditor() = default;

int AlgorithmDetailsEditor::doModal() { return dialog_->run(); }

std::string AlgorithmDetailsEditor::getCurrentKey() const { return dialog_->getCurrentKey(); }

void installAlgorithmEditor()
{
    configseams::setAlgorithmEditorFactory([](const std::string& name, bool allowDelete) {
        return std::make_unique<AlgorithmDetailsEditor>(name, allowDelete);
    });
}
