#include "app/search/EditorSeams.h"

#include "Rodezir/LogStream.h"

namespace editorseams {
namespace {

PersonEditorFactory& personFactory()
{
    static PersonEditorFactory factory;
    return factory;
}

ScenarioEditorFactory& scenarioFactory()
{
    static ScenarioEditorFactory factory;
    return factory;
}

CoursePlannerFactory& plannerFactory()
{
    static CoursePlannerFactory factory;
    return factory;
}

class AbsentEditor final : public RecordEditor {
public:
    explicit AbsentEditor(const char* name) : name_(name) {}
    int doModal() override
    {
        LogStream::instance() << "The " << name_ << " is not available.\n";
        return 2;
    }
    std::string getCurrentKey() const override { return {}; }

private:
    const char* name_;
};

class AbsentPlanner final : public CoursePlanner {
public:
    int doModal() override
    {
        LogStream::instance() << "The course planner is not available.\n";
        return 2;
    }
    bool openedCourseRun() const override { return false; }
};

} // namespace

void setPersonEditorFactory(PersonEditorFactory factory) { personFactory() = std::move(factory); }

std::unique_ptr<RecordEditor> makePersonEditor(const std::string& name)
{
    if (personFactory())
        if (auto editor = personFactory()(name))
            return editor;
    return std::make_unique<AbsentEditor>("person editor");
}

void setScenarioEditorFactory(ScenarioEditorFactory factory) { scenarioFactory() = std::move(factory); }

std::unique_ptr<RecordEditor> makeScenarioEditor(const ScenarioRecord& scenario)
{
    if (scenarioFactory())
        if (auto editor = scenarioFactory()(scenario))
            return editor;
    return std::make_unique<AbsentEditor>("scenario editor");
}

void setCoursePlannerFactory(CoursePlannerFactory factory) { plannerFactory() = std::move(factory); }

std::unique_ptr<CoursePlanner> makeCoursePlanner()
{
    if (plannerFactory())
        if (auto planner = plannerFactory()())
            return planner;
    return std::make_unique<AbsentPlanner>();
}

} // namespace editorseams
