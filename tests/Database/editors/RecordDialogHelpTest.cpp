// Each record editor's Help button opens its own topic of the online help.

#include "RecordDialogFixture.h"

#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/EditEventsDialog.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "platform/Help.h"

#include <memory>

namespace {

using RecordDialogHelp = RecordDialogFixture;

TEST_F(RecordDialogHelp, eachEditorOpensItsTopic)
{
    std::vector<int> topics;
    platform::setHelpFunction([&topics](int topic) { topics.push_back(topic); });
    std::vector<std::unique_ptr<kova::TemplateDialog>> dialogs;
    dialogs.push_back(std::make_unique<AlgorithmDialog>("", true));
    dialogs.push_back(std::make_unique<PersonDialog>("", false, true));
    dialogs.push_back(std::make_unique<ScenarioDialog>(ScenarioRecord(), true));
    dialogs.push_back(std::make_unique<EditEventsDialog>("Basic"));
    for (const auto& dialog : dialogs) {
        ASSERT_TRUE(dialog->create());
        click(*dialog, 32800);
    }
    platform::setHelpFunction(nullptr);
    EXPECT_EQ(topics, (std::vector<int>{10006, 10009, 10010, 10015}));
}

} // namespace
