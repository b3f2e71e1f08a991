#pragma once
// The record editors the New-session window opens from its buttons: the
// person editor, the scenario editor and the course planner. Each is a
// replaceable factory; until the editor is installed, the default only
// writes a line to the error log. (The algorithm editor is reached through
// configseams::makeAlgorithmEditor, as the configuration pages reach it.)

#include "Database/ScenarioRecord.h"

#include <functional>
#include <memory>
#include <string>

namespace editorseams {

// A modal record editor opened on one record; after it closes, the key of
// the record it ended on is read.
class RecordEditor {
public:
    virtual ~RecordEditor() = default;
    // Runs modally; the result does not matter to the caller.
    virtual int doModal() = 0;
    // The key of the record shown when the editor closed; empty when none.
    virtual std::string getCurrentKey() const = 0;
};

using PersonEditorFactory = std::function<std::unique_ptr<RecordEditor>(const std::string& name)>;
void setPersonEditorFactory(PersonEditorFactory factory);
std::unique_ptr<RecordEditor> makePersonEditor(const std::string& name);

using ScenarioEditorFactory = std::function<std::unique_ptr<RecordEditor>(const ScenarioRecord& scenario)>;
void setScenarioEditorFactory(ScenarioEditorFactory factory);
std::unique_ptr<RecordEditor> makeScenarioEditor(const ScenarioRecord& scenario);

// The course planner; it may open the Run-course window before it closes.
class CoursePlanner {
public:
    virtual ~CoursePlanner() = default;
    virtual int doModal() = 0;
    // Whether it opened a course run.
    virtual bool openedCourseRun() const = 0;
};
using CoursePlannerFactory = std::function<std::unique_ptr<CoursePlanner>()>;
void setCoursePlannerFactory(CoursePlannerFactory factory);
std::unique_ptr<CoursePlanner> makeCoursePlanner();

} // namespace editorseams
