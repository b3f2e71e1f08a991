#include "app/search/RecordDetailsEditors.h"

#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "app/search/EditorSeams.h"

#include <QApplication>

#include <memory>

namespace {

constexpr bool ALLOW_DELETE = false;

// A person opened from a participant's box is not preset as an instructor.
class PersonDetails final : public editorseams::RecordEditor {
public:
    explicit PersonDetails(const std::string& name)
        : dialog_(std::make_unique<PersonDialog>(name, false, ALLOW_DELETE, QApplication::activeWindow()))
    {
    }
    int doModal() override { return dialog_->run(); }
    std::string getCurrentKey() const override { return dialog_->getCurrentKey(); }

private:
    std::unique_ptr<PersonDialog> dialog_;
};

class ScenarioDetails final : public editorseams::RecordEditor {
public:
    explicit ScenarioDetails(const ScenarioRecord& scenario)
        : dialog_(std::make_unique<ScenarioDialog>(scenario, ALLOW_DELETE, QApplication::activeWindow()))
    {
    }
    int doModal() override { return dialog_->run(); }
    std::string getCurrentKey() const override { return dialog_->getCurrentKey(); }

private:
    std::unique_ptr<ScenarioDialog> dialog_;
};

} // namespace

void installRecordDetailsEditors()
{
    editorseams::setPersonEditorFactory([](const std::string& name) { return std::make_unique<PersonDetails>(name); });
    editorseams::setScenarioEditorFactory(
        [](const ScenarioRecord& scenario) { return std::make_unique<ScenarioDetails>(scenario); });
}
