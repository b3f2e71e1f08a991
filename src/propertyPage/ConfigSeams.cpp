#include "propertyPage/ConfigSeams.h"

#include "Rodezir/LogStream.h"
#include "platform/Help.h"

namespace configseams {
namespace {

CalibrationWindowFactory& calibrationFactory()
{
    static CalibrationWindowFactory factory;
    return factory;
}

AlgorithmEditorFactory& editorFactory()
{
    static AlgorithmEditorFactory factory;
    return factory;
}

class AbsentCalibrationWindow final : public CalibrationWindow {
public:
    void setExpanded(bool) override {}
    bool runModal(QWidget*) override
    {
        LogStream::instance() << "The calibration window is not available.\n";
        return false;
    }
};

class AbsentAlgorithmEditor final : public AlgorithmEditor {
public:
    int doModal() override
    {
        LogStream::instance() << "The algorithm editor is not available.\n";
        return 2;
    }
    std::string getCurrentKey() const override { return {}; }
};

} // namespace

// One help window serves every dialog of the station, these pages included.
void setHelpFunction(HelpFunction function) { platform::setHelpFunction(std::move(function)); }

void showHelpTopic(int topic)
{
    if (!platform::showHelpTopic(topic))
        LogStream::instance() << "Online help is not available (topic " << topic << ").\n";
}

void setCalibrationWindowFactory(CalibrationWindowFactory factory) { calibrationFactory() = std::move(factory); }

std::unique_ptr<CalibrationWindow> makeCalibrationWindow()
{
    if (calibrationFactory())
        if (auto window = calibrationFactory()())
            return window;
    return std::make_unique<AbsentCalibrationWindow>();
}

void setAlgorithmEditorFactory(AlgorithmEditorFactory factory) { editorFactory() = std::move(factory); }

std::unique_ptr<AlgorithmEditor> makeAlgorithmEditor(const std::string& name, bool flag)
{
    if (editorFactory())
        if (auto editor = editorFactory()(name, flag))
            return editor;
    return std::make_unique<AbsentAlgorithmEditor>();
}

} // namespace configseams
