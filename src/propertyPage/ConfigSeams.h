#pragma once
// What the configuration pages open of other parts of the station: online
// help, the calibration window used to look for controllers, and the
// algorithm editor. Each is a replaceable factory or function; until the
// owning window is installed, the default only writes to the error log.

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace configseams {

// Opens the online help at a topic.
using HelpFunction = std::function<void(int topic)>;
void setHelpFunction(HelpFunction function);
void showHelpTopic(int topic);

// The calibration window that searches the ports for controllers.
class CalibrationWindow {
public:
    virtual ~CalibrationWindow() = default;
    virtual void setExpanded(bool expanded) = 0;
    // True when closed with OK.
    virtual bool runModal(QWidget* parent) = 0;
};
using CalibrationWindowFactory = std::function<std::unique_ptr<CalibrationWindow>()>;
void setCalibrationWindowFactory(CalibrationWindowFactory factory);
std::unique_ptr<CalibrationWindow> makeCalibrationWindow();

// The algorithm record editor, opened on an algorithm by name.
class AlgorithmEditor {
public:
    virtual ~AlgorithmEditor() = default;
    // Runs modally with no parent; the result does not matter to the caller.
    virtual int doModal() = 0;
    // The name of the record shown when the editor closed; empty when none.
    virtual std::string getCurrentKey() const = 0;
};
using AlgorithmEditorFactory = std::function<std::unique_ptr<AlgorithmEditor>(const std::string& name, bool flag)>;
void setAlgorithmEditorFactory(AlgorithmEditorFactory factory);
std::unique_ptr<AlgorithmEditor> makeAlgorithmEditor(const std::string& name, bool flag);

} // namespace configseams
