#include "app/search/NewSessionDialog.h"

#include "Database/AlgorithmTable.h"
#include "Database/record-controls/ComboBoxList.h"
#include "Database/Database.h"
#include "Database/record-controls/DurationCombo.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "Database/TrainingMode.h"
#include "Database/record-controls/TrainingModeCombo.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/gstringUtil.h"
#include "app/search/AppCommands.h"
#include "app/search/EditorSeams.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionManager.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/ports/PortCombo.h"
#include "comm/link/SerialPort.h"
#include "config/Configuration.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "propertyPage/ConfigSeams.h"

#include <QComboBox>
#include <QLineEdit>

using namespace kova;

namespace {

const wchar_t* const MARK = L"\u00A4";

std::wstring marked(const wchar_t* text)
{
    return std::wstring(MARK) + text;
}

DialogControlTable comboBox(int id, std::uint32_t kind, int x, int y, int cx)
{
    // A combo box's height in a template is that of its open list.
    return control(L"", id, L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, x, y, cx, 120);
}

// The session's choices above, the two participants below them, and the
// buttons that leave the window along the bottom.
DialogTable newSessionTable()
{
    constexpr int LABEL_X = 15;
    constexpr int FIELD_X = 74;
    constexpr int FIELD_CX = 144;
    constexpr int DETAILS_X = 224;
    constexpr int DETAILS_CX = 52;
    DialogTable table;
    table.id = NewSessionDialog::TEMPLATE_ID;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 290;
    table.cy = 202;
    table.controls = {
        groupBox(marked(L"Session"), IDC_STATIC, 7, 5, 276, 110),
        label(marked(L"Scenario"), IDC_STATIC, LABEL_X, 21, 56, 9),
        comboBox(NewSessionDialog::IDC_SCENARIO, CBS_DROPDOWNLIST, FIELD_X, 19, FIELD_CX),
        pushButton(marked(L"Details..."), NewSessionDialog::IDC_SCENARIO_DETAILS, DETAILS_X, 18, DETAILS_CX, 14),
        label(marked(L"Algorithm"), IDC_STATIC, LABEL_X, 39, 56, 9),
        comboBox(NewSessionDialog::IDC_ALGORITHM, CBS_DROPDOWNLIST, FIELD_X, 37, FIELD_CX),
        pushButton(marked(L"Details..."), NewSessionDialog::IDC_ALGORITHM_DETAILS, DETAILS_X, 36, DETAILS_CX, 14),
        label(marked(L"Duration"), IDC_STATIC, LABEL_X, 57, 56, 9),
        comboBox(NewSessionDialog::IDC_DURATION, CBS_DROPDOWN, FIELD_X, 55, 60),
        control(marked(L"Register events"), NewSessionDialog::IDC_REGISTER_EVENTS, L"BUTTON",
                BS_AUTOCHECKBOX | WS_TABSTOP, 144, 56, 74, 10),
        label(marked(L"Training mode"), IDC_STATIC, LABEL_X, 75, 56, 9),
        comboBox(NewSessionDialog::IDC_TRAINING_MODE, CBS_DROPDOWNLIST, FIELD_X, 73, FIELD_CX),
        label(marked(L"Manikin"), IDC_STATIC, LABEL_X, 93, 56, 9),
        comboBox(NewSessionDialog::IDC_MANIKIN, CBS_DROPDOWNLIST, FIELD_X, 91, 84),
        pushButton(marked(L"Add new Manikin"), NewSessionDialog::IDC_ADD_MANIKIN, 164, 90, 112, 14),

        groupBox(marked(L"Participants"), IDC_STATIC, 7, 119, 276, 54),
        label(marked(L"Ventilation"), IDC_STATIC, LABEL_X, 135, 56, 9),
        comboBox(NewSessionDialog::IDC_VENTILATION, CBS_DROPDOWN, FIELD_X, 133, FIELD_CX),
        pushButton(marked(L"Details..."), NewSessionDialog::IDC_VENTILATION_DETAILS, DETAILS_X, 132, DETAILS_CX, 14),
        label(marked(L"Compression"), IDC_STATIC, LABEL_X, 153, 56, 9),
        comboBox(NewSessionDialog::IDC_COMPRESSION, CBS_DROPDOWN, FIELD_X, 151, FIELD_CX),
        pushButton(marked(L"Details..."), NewSessionDialog::IDC_COMPRESSION_DETAILS, DETAILS_X, 150, DETAILS_CX, 14),

        pushButton(marked(L"Configuration..."), NewSessionDialog::IDC_CONFIGURATION, 7, 180, 66, 16),
        pushButton(marked(L"Course planner..."), NewSessionDialog::IDC_COURSE_PLANNER, 77, 180, 66, 16),
        defPushButton(marked(L"Continue"), NewSessionDialog::IDC_CONTINUE, 147, 180, 66, 16),
        pushButton(marked(L"Help"), ChildDialog::ID_HELP, 217, 180, 66, 16),
    };
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(NewSessionDialog::TEMPLATE_ID))
        DialogRegistry::add(newSessionTable());
    return NewSessionDialog::TEMPLATE_ID;
}

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

std::wstring translated(const char* text)
{
    return Gettext::translate(text);
}

} // namespace

NewSessionDialog::NewSessionDialog()
    : ChildDialog(registeredTemplate()), scenarios_(std::make_unique<ScenarioTable>(theDatabase))
{
}

NewSessionDialog::~NewSessionDialog() = default;

QComboBox* NewSessionDialog::combo(int id) const { return qobject_cast<QComboBox*>(getDlgItem(id)); }

std::string NewSessionDialog::text(int id) const
{
    return ComboUtil::getText(combo(id), false).toStdString();
}

int NewSessionDialog::trainingMode() const
{
    const QComboBox* mode = combo(IDC_TRAINING_MODE);
    return mode ? mode->currentIndex() : -1;
}

bool NewSessionDialog::onInitDialog()
{
    const platform::WaitCursor waiting;
    ChildDialog::onInitDialog();
    for (const int id : {IDC_CONTINUE, IDC_SCENARIO_DETAILS, IDC_VENTILATION_DETAILS, IDC_COMPRESSION_DETAILS,
                         IDC_ALGORITHM_DETAILS, IDC_COURSE_PLANNER, IDC_CONFIGURATION, IDC_ADD_MANIKIN, ID_HELP})
        RoundButton::attach(this, id);
    if (auto* continueButton = qobject_cast<QPushButton*>(getDlgItem(IDC_CONTINUE)))
        continueButton->setDefault(true);

    scenarios_->open("");
    refill();
    checkDlgButton(IDC_REGISTER_EVENTS, true);
    for (const int id : {IDC_VENTILATION, IDC_COMPRESSION})
        if (QComboBox* participant = combo(id); participant && participant->lineEdit())
            participant->lineEdit()->setMaxLength(PARTICIPANT_LIMIT);
    // Enter in a typed field is Continue; what was typed stays out of the lists.
    for (const int id : {IDC_VENTILATION, IDC_COMPRESSION, IDC_DURATION})
        if (QComboBox* typed = combo(id))
            typed->setInsertPolicy(QComboBox::NoInsert);
    TrainingMode::fillCombo(combo(IDC_TRAINING_MODE));
    fillParticipants();
    scenarioCheck();
    Duration::fillCombo(combo(IDC_DURATION));
    if (QComboBox* scenario = combo(IDC_SCENARIO); scenario && scenario->count() > 0) {
        scenario->setCurrentIndex(0);
        loadScenario();
    }

    ::connect(CalibrateManager::get().changed, *this, &NewSessionDialog::onPortsChanged);
    connectSessions();
    enableConfiguration();

    ControlNotifier& notes = notifier();
    notes.on(IDC_SCENARIO, Notification::SelectionChanged, [this] { loadScenario(); });
    notes.on(IDC_ALGORITHM, Notification::SelectionChanged, [this] { scenarioCheck(); });
    notes.on(IDC_REGISTER_EVENTS, Notification::Clicked, [this] { scenarioCheck(); });
    notes.on(IDC_TRAINING_MODE, Notification::SelectionChanged, [this] { onTrainingModeChosen(); });
    notes.on(IDC_VENTILATION, Notification::SelectionChanged,
             [this] { mirrorParticipant(IDC_VENTILATION, IDC_COMPRESSION); });
    notes.on(IDC_VENTILATION_DETAILS, Notification::Clicked, [this] { editPerson(IDC_VENTILATION); });
    notes.on(IDC_COMPRESSION_DETAILS, Notification::Clicked, [this] { editPerson(IDC_COMPRESSION); });
    notes.on(IDC_ALGORITHM_DETAILS, Notification::Clicked, [this] { editAlgorithm(); });
    notes.on(IDC_SCENARIO_DETAILS, Notification::Clicked, [this] { editScenario(); });
    notes.on(IDC_COURSE_PLANNER, Notification::Clicked, [this] { runCoursePlanner(); });
    notes.on(IDC_ADD_MANIKIN, Notification::Clicked, [] { AppCommands::showSearchForManikins(); });
    notes.on(IDC_CONFIGURATION, Notification::Clicked, [] { Configuration::instance().showDialog(0); });

    // A typed duration is judged once the box holds the new text.
    if (QComboBox* duration = combo(IDC_DURATION)) {
        auto postCheck = [this] { QMetaObject::invokeMethod(this, [this] { scenarioCheck(); }, Qt::QueuedConnection); };
        QObject::connect(duration, &QComboBox::activated, this, postCheck);
        if (QLineEdit* edit = duration->lineEdit())
            QObject::connect(edit, &QLineEdit::textEdited, this, postCheck);
    }
    // Only what the instructor types is mirrored; a name put in by code is not typing.
    const std::pair<int, int> mirrors[] = {{IDC_VENTILATION, IDC_COMPRESSION}, {IDC_COMPRESSION, IDC_VENTILATION}};
    for (const auto& [from, to] : mirrors)
        if (QComboBox* participant = combo(from); participant && participant->lineEdit())
            QObject::connect(participant->lineEdit(), &QLineEdit::textEdited, this,
                             [this, from = from, to = to] { mirrorParticipant(from, to); });
    return true;
}

void NewSessionDialog::help() { configseams::showHelpTopic(HELP_TOPIC); }

void NewSessionDialog::onOK() { start(); }

void NewSessionDialog::onCancel() { hideFrame(); }

void NewSessionDialog::onFrameShow(bool show, int)
{
    if (!show)
        return;
    refill();
    scenarioCheck();
}

bool NewSessionDialog::fillManikins()
{
    QComboBox* manikins = combo(IDC_MANIKIN);
    const bool any = manikins && PortCombo::fillUsbCombo(*manikins, CalibrateManager::get());
    if (QWidget* continueButton = getDlgItem(IDC_CONTINUE))
        continueButton->setEnabled(any);
    return any;
}

void NewSessionDialog::refill()
{
    if (isCreated())
        fillManikins();
    if (QComboBox* ventilation = combo(IDC_VENTILATION)) {
        PersonTable persons(theDatabase);
        persons.open("");
        ComboBoxList list(*ventilation);
        persons.fillComboBox(list, "Name", "");
        ComboUtil::copyItems(ventilation, combo(IDC_COMPRESSION));
    }
    if (QComboBox* algorithm = combo(IDC_ALGORITHM)) {
        AlgorithmTable algorithms(theDatabase);
        algorithms.open("");
        ComboBoxList list(*algorithm);
        algorithms.fillComboBox(list, "Name", "");
    }
    if (QComboBox* scenario = combo(IDC_SCENARIO); scenario && scenarios_->isOpen) {
        ComboBoxList list(*scenario);
        scenarios_->fillComboBox(list, "Name", "");
    }
}

void NewSessionDialog::fillParticipants()
{
    TrainingMode::fillParticipants(trainingMode(), combo(IDC_VENTILATION), getDlgItem(IDC_VENTILATION_DETAILS),
                                   combo(IDC_COMPRESSION), getDlgItem(IDC_COMPRESSION_DETAILS), true, true);
}

void NewSessionDialog::onTrainingModeChosen()
{
    fillParticipants();
    scenarioCheck();
}

void NewSessionDialog::mirrorParticipant(int from, int to)
{
    // Single-person CPR: one participant takes both parts.
    if (trainingMode() != TrainingMode::SINGLE_PERSON)
        return;
    ComboUtil::selectString(combo(to), ComboUtil::getText(combo(from), false));
}

void NewSessionDialog::loadScenario()
{
    const ScenarioRecord scenario = scenarios_->getScenario(text(IDC_SCENARIO));
    if (!scenario.algorithm.empty())
        ComboUtil::selectString(combo(IDC_ALGORITHM), qText(scenario.algorithm));
    Duration::select(combo(IDC_DURATION), scenario.duration);
    checkDlgButton(IDC_REGISTER_EVENTS, scenario.registerEvents != 0);
    if (QComboBox* mode = combo(IDC_TRAINING_MODE))
        mode->setCurrentIndex(static_cast<int>(scenario.trainingMode));
    onTrainingModeChosen();
}

void NewSessionDialog::scenarioCheck()
{
    QComboBox* scenarioBox = combo(IDC_SCENARIO);
    if (!scenarioBox)
        return;
    const ScenarioRecord scenario = scenarios_->getScenario(text(IDC_SCENARIO));
    const bool differs = text(IDC_ALGORITHM) != scenario.algorithm
                         || Duration::getSelected(combo(IDC_DURATION)) != scenario.duration
                         || isDlgButtonChecked(IDC_REGISTER_EVENTS) != (scenario.registerEvents != 0)
                         || trainingMode() != scenario.trainingMode;
    if (differs)
        scenarioBox->setCurrentIndex(-1);
}

void NewSessionDialog::onPortsChanged()
{
    if (isCreated())
        fillManikins();
}

void NewSessionDialog::onSessionsChanged()
{
    if (isCreated())
        enableConfiguration();
}

void NewSessionDialog::enableConfiguration()
{
    if (QWidget* configuration = getDlgItem(IDC_CONFIGURATION))
        configuration->setEnabled(sessionCount() == 0);
}

void NewSessionDialog::editPerson(int comboId)
{
    auto editor = editorseams::makePersonEditor(text(comboId));
    editor->doModal();
    refill();
    const std::string key = editor->getCurrentKey();
    if (!key.empty())
        ComboUtil::selectString(combo(comboId), qText(key));
}

void NewSessionDialog::editAlgorithm()
{
    // Deleting is left to the Database menu: an algorithm's sessions go with it.
    auto editor = configseams::makeAlgorithmEditor(text(IDC_ALGORITHM), false);
    editor->doModal();
    refill();
    const std::string key = editor->getCurrentKey();
    if (!key.empty())
        ComboUtil::selectString(combo(IDC_ALGORITHM), qText(key));
    scenarioCheck();
}

void NewSessionDialog::editScenario()
{
    ScenarioRecord choices;
    choices.name = text(IDC_SCENARIO);
    choices.algorithm = text(IDC_ALGORITHM);
    choices.duration = Duration::getSelected(combo(IDC_DURATION));
    choices.registerEvents = isDlgButtonChecked(IDC_REGISTER_EVENTS) ? 1 : 0;
    choices.trainingMode = trainingMode();
    auto editor = editorseams::makeScenarioEditor(choices);
    editor->doModal();
    refill();
    const std::string key = editor->getCurrentKey();
    if (key.empty())
        return;
    ComboUtil::selectString(combo(IDC_SCENARIO), qText(key));
    loadScenario();
}

void NewSessionDialog::runCoursePlanner()
{
    hideFrame();
    auto planner = editorseams::makeCoursePlanner();
    planner->doModal();
    // A course run has its own window now; New session stays out of its way.
    if (planner->openedCourseRun())
        return;
    refill();
    showFrame();
}

SessionRecord NewSessionDialog::sessionRecord(int port) const
{
    SessionRecord record;
    record.PersonVentilation = text(IDC_VENTILATION);
    record.PersonChestCompression = text(IDC_COMPRESSION);
    record.TrainingMode = trainingMode();
    record.Duration = Duration::getSelected(combo(IDC_DURATION));
    // The session registers events as the box says; its record keeps the choice.
    record.RegisterEvents = isDlgButtonChecked(IDC_REGISTER_EVENTS);
    if (const SerialPort* link = CalibrateManager::get().getSerPort(port))
        record.linkType = link->getLinkType();
    record.Manikin = port;
    record.Algorithm = text(IDC_ALGORITHM);
    record.Scenario = text(IDC_SCENARIO);
    return record;
}

void NewSessionDialog::failStart(int port)
{
    CalibrateManager::get().setIsCalibrated(false, port);
    AppCommands::showSearchForManikins();
}

void NewSessionDialog::start()
{
    platform::Clock::instance().sleep(START_DELAY_MS);
    QComboBox* manikins = combo(IDC_MANIKIN);
    const int port = manikins && manikins->currentIndex() >= 0 ? manikins->currentData().toInt() : -1;
    if (port <= 0)
        return;

    CalibrateManager& ports = CalibrateManager::get();
    if (!ports.getIsAvailable(port) || ports.getIsCPB(port)) {
        platform::messageBox(translated("The selected COM port is not available. Please select another."),
                             translated("Start problem"), platform::MB_OK);
        if (isCreated())
            fillManikins();
        failStart(port);
        return;
    }
    SerialPort* link = ports.getSerPort(port);
    if (!link)
        return;
    auto reader = std::make_unique<ManikinReader>(*link);
    if (reader->open(port) != ManikinReader::OPEN_SUCCESS) {
        link->close();
        platform::messageBox(translated("There was a problem opening the port. Please make sure that the manikin "
                                        "is properly connected and recalibrate."),
                             translated("COM port problem"), platform::MB_OK);
        fillManikins();
        failStart(port);
        return;
    }
    AlgorithmTable algorithms(theDatabase);
    algorithms.open("");
    const AlgorithmRecord algorithm = algorithms.getByName(text(IDC_ALGORITHM));
    const SessionRecord record = sessionRecord(port);
    // The session reads the port as its own; this reader only proved that it answers.
    reader.reset();
    if (!SessionManager::instance()) {
        // No station to run it in: the port is not left open for nothing.
        KOVA_ASSERT(SessionManager::instance() != 0);
        link->close();
        return;
    }
    hideFrame();
    launchSession(record, algorithm);
}

int NewSessionDialog::sessionCount()
{
    const SessionManager* manager = SessionManager::instance();
    return manager ? manager->getSessionCount() : 0;
}

void NewSessionDialog::connectSessions()
{
    if (SessionManager* manager = SessionManager::instance())
        ::connect(manager->sessionsChanged, *this, &NewSessionDialog::onSessionsChanged);
}

void NewSessionDialog::launchSession(const SessionRecord& record, const AlgorithmRecord& algorithm)
{
    // The session takes the port from the registry; the manager owns the session.
    auto* session = new Session(record, algorithm);
    // The ECG curve follows the setting of the moment the session begins.
    session->setEcgEnabled(Configuration::instance().getPropertyModel().ecgEnabled);
    SessionManager::instance()->addSession(session);
    // The session window opens with the first session and shows its tab.
    SessionManager::instance()->showSessionWindow();
}
