// The "Configuration" dialog over a folder controller, with the algorithm
// table of a temporary SQLite data source: OK and Cancel, each page's
// validation, the tab strip's veto, the controller page's lists, the dialog
// growing to its largest page, and a screenshot of every page.

#include "RecordsFixture.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/gstringUtil.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/ports/WirelessDiscovery.h"
#include "config/PropertyFolderController.h"
#include "propertyPage/ConfigDialogTables.h"
#include "propertyPage/ConfigPage.h"
#include "propertyPage/ConfigSeams.h"
#include "propertyPage/ConfigurationDialogs.h"
#include "propertyPage/IconDescription.h"
#include "propertyPage/PageExchange.h"
#include "propertyPage/PageField.h"
#include "propertyPage/PropertyFolderView.h"
#include "propertyPage/PropertyPage4.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>
#include <type_traits>
#include <variant>

namespace {

constexpr int GENERAL = 0, DEBRIEFING_1 = 1, DEBRIEFING_2 = 2, PRINT = 3, CONTROLLER = 4;

class SilentDiscovery final : public WirelessDiscovery {
public:
    SilentDiscovery() : WirelessDiscovery(nullptr) {}
    std::vector<WirelessReply> searchWireless() override { return {}; }
};

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

class ConfigurationDialog : public RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        CalibrateManager::get().setWirelessDiscovery(std::make_unique<SilentDiscovery>());
        registerConfigDialogTables();
        openRecords();
        addAlgorithms({"ERC 2010 (European Resuscitation Council)", "AHA 2010 (American Heart Association)"});
        dialogs.addPages(controller);
    }

    void TearDown() override
    {
        view.reset();
        controller.removeAllPages();
        RecordsFixture::TearDown();
    }

    static void addAlgorithms(const std::vector<std::string>& names)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        ASSERT_TRUE(table.isOpen);
        for (const std::string& name : names) {
            AlgorithmRecord record;
            record.Name = name;
            table.addNew();
            table.setRecord(record);
            ASSERT_TRUE(table.update()) << table.lastError();
        }
    }

    PropertyFolderView& open(int page)
    {
        view = std::make_unique<PropertyFolderView>(controller, page);
        EXPECT_TRUE(view->run(false));
        return *view;
    }

    QWidget* pageItem(int id) const
    {
        QWidget* page = view->currentPageWindow();
        return page ? kova::getDlgItem(page, id) : nullptr;
    }

    void type(int id, const QString& text) const
    {
        auto* edit = qobject_cast<QLineEdit*>(pageItem(id));
        ASSERT_NE(edit, nullptr) << id;
        edit->setText(text);
    }

    QComboBox* pageCombo(int id) const { return qobject_cast<QComboBox*>(pageItem(id)); }

    void press(int id) const
    {
        auto* button = qobject_cast<QAbstractButton*>(kova::getDlgItem(view.get(), id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }

    // Pressing OK ends the dialog and the view is deleted, as the settings object does.
    void pressOkAndClose()
    {
        press(kova::IDOK);
        EXPECT_TRUE(view->isAccepted());
        view.reset();
    }

    void saveScreenshot(QWidget& window, const std::string& name) const
    {
        const auto path = kovatest::binaryDir() / (name + ".png");
        EXPECT_TRUE(window.grab().save(QString::fromStdString(path.string())));
    }

    PropertyFolderController controller;
    ConfigurationDialogs dialogs;
    std::unique_ptr<PropertyFolderView> view;
};

TEST_F(ConfigurationDialog, okMakesTheEditedRecordLiveAndCancelLeavesIt)
{
    open(GENERAL);
    type(1341, "120");
    view->tabStrip()->select(PRINT);
    // The Print page names no header picture, so General's stays.
    EXPECT_EQ(kova::getDlgItem(view.get(), 25502)->property("kovaHeaderBitmap").toInt(), 253);
    type(1344, "30");
    pressOkAndClose();
    EXPECT_EQ(controller.getPropertyModel().metronomeRate, 120.0);
    EXPECT_EQ(controller.getPropertyModel().graphMaxPrintTime, 30);
    EXPECT_FALSE(controller.getIsDisplaying());

    const PropertyModel before = controller.getPropertyModel();
    open(GENERAL);
    type(1341, "90");
    view->tabStrip()->select(DEBRIEFING_2);
    type(1342, "40");
    press(kova::IDCANCEL);
    EXPECT_FALSE(view->isAccepted());
    view.reset();
    EXPECT_TRUE(controller.getPropertyModel() == before);
}

TEST_F(ConfigurationDialog, eachPageRejectsAnOutOfRangeValueWithItsMessage)
{
    struct Case {
        int page;
        int id;
        const char* text;
        const wchar_t* message;
    };
    const Case cases[] = {
        {GENERAL, 1341, "251", L"Please enter a number between 1 and 250."},
        {GENERAL, 1341, "0.5", L"Please enter a number between 1 and 250."},
        {DEBRIEFING_1, 1376, "0", L"Please enter a number between 0.0001 and 50."},
        {DEBRIEFING_1, 1357, "lots", L"Please enter a number."},
        {DEBRIEFING_2, 1342, "abc", L"Please enter an integer."},
        {DEBRIEFING_2, 1342, "101", L"Please enter an integer between 1 and 100."},
        {DEBRIEFING_2, 1338, "100.5", L"Please enter a number between 0 and 100."},
        {PRINT, 1344, "241", L"Please enter an integer between 1 and 240."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PropertyModel before = controller.getPropertyModel();
        asker.asked.clear();
        open(c.page);
        view->activateWindow();
        type(c.id, c.text);
        press(kova::IDOK);
        EXPECT_FALSE(view->isAccepted());
        EXPECT_TRUE(view->isVisible());
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_EQ(asker.asked[0].text, c.message);
        EXPECT_EQ(view->focusWidget(), pageItem(c.id));
        press(kova::IDCANCEL);
        view.reset();
        EXPECT_TRUE(controller.getPropertyModel() == before);
    }
}

TEST_F(ConfigurationDialog, aPageThatRejectsItsInputKeepsTheTabStrip)
{
    open(DEBRIEFING_2);
    type(1340, "0");
    EXPECT_FALSE(view->tabStrip()->select(PRINT));
    EXPECT_EQ(view->tabStrip()->getCurSel(), DEBRIEFING_2);
    EXPECT_EQ(view->getCurrentPageIndex(), DEBRIEFING_2);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Please enter a number between 0.01 and 100.");

    type(1340, "52");
    type(1375, "30");
    EXPECT_TRUE(view->tabStrip()->select(PRINT));
    EXPECT_EQ(view->getCurrentPageIndex(), PRINT);
    EXPECT_EQ(dialogs.page(DEBRIEFING_2)->window(), nullptr);
    pressOkAndClose();
    // A depth range typed the wrong way round is stored in order.
    EXPECT_EQ(controller.getPropertyModel().compressionDepthLow, 30.0);
    EXPECT_EQ(controller.getPropertyModel().compressionDepthHigh, 52.0);
}

TEST_F(ConfigurationDialog, theDialogGrowsToItsLargestPageAndNoSmaller)
{
    const kova::DialogTemplate viewTemplate(PropertyFolderView::TEMPLATE_ID);
    const kova::SIZE designed = viewTemplate.toPixels(viewTemplate.getSize());
    const kova::DialogTemplate largest(PropertyPage4::TEMPLATE_ID);
    const kova::SIZE page = largest.toPixels(largest.getSize());

    open(CONTROLLER);
    for (int i = 0; i < CONTROLLER; ++i)
        EXPECT_EQ(dialogs.page(i)->window(), nullptr);
    ASSERT_NE(view->currentPageWindow(), nullptr);
    EXPECT_EQ(view->tabStrip()->getCurSel(), CONTROLLER);
    EXPECT_GT(view->width(), designed.cx);
    EXPECT_GT(view->height(), designed.cy);
    EXPECT_GE(view->currentPageWindow()->width(), page.cx);
    EXPECT_GE(view->currentPageWindow()->height(), page.cy);
    EXPECT_EQ(view->minimumSize(), view->size());

    view->resize(view->size() + QSize(40, 30));
    EXPECT_GE(view->currentPageWindow()->width(), page.cx + 40);
}

TEST_F(ConfigurationDialog, controllerPageListsTheCatalogLanguagesAndTheAlgorithms)
{
    kovatest::TempDir catalogs;
    for (const char* name : {"de.mo", "fr.mo", "xx.mo", "en.mo", "notes.txt"})
        kovatest::writeFile(catalogs.path() / name, "");
    EXPECT_EQ(PropertyPage4::languageCandidates(catalogs.path().string()),
              (std::vector<std::string>{"de", "en", "en", "fr", "xx"}));

    std::filesystem::remove(catalogs.path() / "en.mo");
    kovatest::ScopedCwd cwd(catalogs.path());
    PropertyModel model;
    model.setLanguage(0, "it");
    model.setLanguage(1, "fr");
    model.setLanguage(2, "zz");
    model.setAlgorithm1("ERC 2010 (European Resuscitation Council)");
    model.setIcon(2, 96);
    controller.setPropertyModel(model);

    open(CONTROLLER);
    // Each language appears once per catalog, sorted by name; "xx" is no language.
    EXPECT_EQ(itemsOf(pageCombo(1395)), (QStringList{"English", "French", "German"}));
    EXPECT_EQ(pageCombo(1395)->currentText(), "English");
    EXPECT_EQ(pageCombo(1396)->currentText(), "French");
    EXPECT_EQ(pageCombo(1397)->currentIndex(), -1);
    EXPECT_EQ(itemsOf(pageCombo(1080)), (QStringList{"AHA 2010 (American Heart Association)",
                                                      "ERC 2010 (European Resuscitation Council)"}));
    EXPECT_EQ(pageCombo(1080)->currentText(), "ERC 2010 (European Resuscitation Council)");
    EXPECT_EQ(pageCombo(1390)->count(), PropertyPage4::ICON_ITEMS);
    EXPECT_EQ(pageCombo(1391)->currentIndex(), 96);

    pressOkAndClose();
    const PropertyModel& live = controller.getPropertyModel();
    EXPECT_EQ(live.getLanguage(0), "en");
    EXPECT_EQ(live.getLanguage(1), "fr");
    EXPECT_EQ(live.getLanguage(2), "");
    EXPECT_EQ(live.getIcon(2), 96);
    EXPECT_EQ(live.getAlgorithm1(), "ERC 2010 (European Resuscitation Council)");
}

TEST_F(ConfigurationDialog, legendsTakeOverOnOkOnlyAndStayWhenLegendsAreSwitchedOff)
{
    PropertyModel model;
    model.enableLegends = true;
    model.setIconLegend(0, "Airway");
    controller.setPropertyModel(model);
    open(CONTROLLER);
    auto* page = dynamic_cast<PropertyPage4*>(dialogs.page(CONTROLLER));

    auto answerLegends = [](const char* text, int button) {
        QTimer::singleShot(0, [text, button] {
            auto* dialog = qobject_cast<IconDescription*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setDlgItemText(IconDescription::EDITS[0], text);
            qobject_cast<QAbstractButton*>(dialog->getDlgItem(button))->click();
        });
    };
    answerLegends("Changed", kova::IDCANCEL);
    qobject_cast<QAbstractButton*>(pageItem(1404))->click();
    EXPECT_EQ(page->legends()[0], "Airway");

    answerLegends("Breathing", kova::IDOK);
    qobject_cast<QAbstractButton*>(pageItem(1404))->click();
    EXPECT_EQ(page->legends()[0], "Breathing");

    qobject_cast<QAbstractButton*>(pageItem(1405))->click();
    EXPECT_FALSE(pageItem(1404)->isEnabled());
    pressOkAndClose();
    EXPECT_EQ(controller.getPropertyModel().getIconLegend(0), "Breathing");
    EXPECT_FALSE(controller.getPropertyModel().enableLegends);
}

TEST_F(ConfigurationDialog, withoutControllersTheTransferButtonsStayHidden)
{
    open(GENERAL);
    EXPECT_FALSE(kova::getDlgItem(view.get(), PropertyFolderView::GET_FROM_CONTROLLER)->isVisible());
    EXPECT_FALSE(kova::getDlgItem(view.get(), PropertyFolderView::SEND_TO_CONTROLLER)->isVisible());
    EXPECT_TRUE(kova::getDlgItem(view.get(), kova::IDOK)->isVisible());
}

// Escape in any field of any page cancels the whole dialog, as it does from
// the tab strip: what was typed is not applied.
TEST_F(ConfigurationDialog, escapeInAnyFieldOfAnyPageCancelsTheDialog)
{
    const PropertyModel before = controller.getPropertyModel();
    const int tabStrip = 25501;
    for (int page = GENERAL; page <= CONTROLLER; ++page) {
        open(page);
        std::vector<int> ids{tabStrip};
        for (QWidget* control : view->currentPageWindow()->findChildren<QWidget*>())
            if (kova::controlId(control) > 0 && (control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(view.get())
                && control->isEnabled())
                ids.push_back(kova::controlId(control));
        view.reset();
        EXPECT_GT(ids.size(), 3u) << "page " << page;
        for (const int id : ids) {
            SCOPED_TRACE(testing::Message() << "page " << page << " control " << id);
            open(page);
            view->activateWindow();
            QApplication::setActiveWindow(view.get());
            QWidget* field = id == tabStrip ? view->tabStrip() : pageItem(id);
            ASSERT_NE(field, nullptr);
            field->setFocus();
            QWidget* focused = QApplication::focusWidget();
            ASSERT_TRUE(focused == field || field->isAncestorOf(focused));
            if (auto* edit = qobject_cast<QLineEdit*>(focused); edit && !edit->isReadOnly()) {
                edit->selectAll();
                QTest::keyClicks(edit, "90");
            }
            QTest::keyClick(focused, Qt::Key_Escape);
            EXPECT_FALSE(view->isVisible());
            EXPECT_EQ(view->result(), QDialog::Rejected);
            view.reset();
            EXPECT_TRUE(controller.getPropertyModel() == before);
        }
    }
}

// Enter in a page's field is the dialog's OK.
TEST_F(ConfigurationDialog, enterInAPagesFieldIsTheDialogsOk)
{
    open(GENERAL);
    view->activateWindow();
    QApplication::setActiveWindow(view.get());
    auto* metronome = qobject_cast<QLineEdit*>(pageItem(1341));
    ASSERT_NE(metronome, nullptr);
    metronome->setFocus();
    metronome->selectAll();
    QTest::keyClicks(metronome, "90");
    QTest::keyClick(metronome, Qt::Key_Return);
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(view->isAccepted());
    view.reset();
    EXPECT_EQ(controller.getPropertyModel().metronomeRate, 90.0);
}

TEST_F(ConfigurationDialog, screenshotOfEveryPage)
{
    const char* names[] = {"general", "debriefing1", "debriefing2", "print", "controller"};
    for (int i = GENERAL; i <= CONTROLLER; ++i) {
        open(i);
        QApplication::processEvents();
        saveScreenshot(*view, std::string("configuration-") + names[i]);
        view.reset();
    }
    IconDescription legends({1, 2, 3, 4, 5, 6}, {"Airway", "Breathing", "", "", "", "Pulse"});
    ASSERT_TRUE(legends.create());
    legends.show();
    QApplication::processEvents();
    saveScreenshot(legends, "configuration-icon-legends");
}

namespace {

// An algorithm editor in which the instructor saves the record under a new name.
class RenamingEditor final : public configseams::AlgorithmEditor {
public:
    RenamingEditor(std::string name, std::vector<std::string>& opened) : name_(std::move(name)) { opened.push_back(name_); }
    int doModal() override
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        AlgorithmRecord record = table.getByName(name_);
        record.Name = "Renamed limits";
        table.addNew();
        table.setRecord(record);
        EXPECT_TRUE(table.update()) << table.lastError();
        return kova::IDOK;
    }
    std::string getCurrentKey() const override { return "Renamed limits"; }

private:
    std::string name_;
};

struct CountingCalibration final : configseams::CalibrationWindow {
    explicit CountingCalibration(int& runs) : runs_(runs) {}
    void setExpanded(bool expanded) override { expanded_ = expanded; }
    bool runModal(QWidget*) override
    {
        runs_ += expanded_ ? 1 : 100;
        return true;
    }
    int& runs_;
    bool expanded_ = false;
};

} // namespace

TEST_F(ConfigurationDialog, detailsSearchAndHelpOpenTheirWindows)
{
    addAlgorithms({"Own limits"});
    std::vector<std::string> opened;
    configseams::setAlgorithmEditorFactory([&opened](const std::string& name, bool flag) {
        EXPECT_FALSE(flag);
        return std::make_unique<RenamingEditor>(name, opened);
    });
    int calibrations = 0;
    configseams::setCalibrationWindowFactory(
        [&calibrations] { return std::make_unique<CountingCalibration>(calibrations); });
    std::vector<int> topics;
    configseams::setHelpFunction([&topics](int topic) { topics.push_back(topic); });

    PropertyModel model;
    model.setAlgorithm1("AHA 2010 (American Heart Association)");
    model.setAlgorithm2("Own limits");
    controller.setPropertyModel(model);
    open(CONTROLLER);
    qobject_cast<QAbstractButton*>(pageItem(1085))->click();
    EXPECT_EQ(opened, std::vector<std::string>{"Own limits"});
    EXPECT_EQ(pageCombo(1081)->currentText(), "Renamed limits");
    EXPECT_EQ(pageCombo(1080)->currentText(), "AHA 2010 (American Heart Association)");
    EXPECT_TRUE(itemsOf(pageCombo(1080)).contains("Renamed limits"));

    qobject_cast<QAbstractButton*>(pageItem(1101))->click();
    EXPECT_EQ(calibrations, 1);
    press(25504);
    EXPECT_EQ(topics, std::vector<int>{10018});

    configseams::setAlgorithmEditorFactory(nullptr);
    configseams::setCalibrationWindowFactory(nullptr);
    configseams::setHelpFunction(nullptr);
}

TEST_F(ConfigurationDialog, debriefingChoicesReachTheRecord)
{
    PropertyModel model;
    model.ratioAsPercent = true;
    model.overrideCompressionDepth = true;
    model.minuteVolumeLow = 6.0;
    model.minuteVolumeHigh = 1.5;
    controller.setPropertyModel(model);
    open(DEBRIEFING_2);
    EXPECT_EQ(pageCombo(1271)->currentText(), "50%:50%");
    EXPECT_TRUE(pageItem(1340)->isEnabled());
    // Switching the override off disables both depth edits at once.
    qobject_cast<QAbstractButton*>(pageItem(1358))->click();
    EXPECT_FALSE(pageItem(1340)->isEnabled());
    EXPECT_FALSE(pageItem(1375)->isEnabled());
    pageCombo(1271)->setCurrentIndex(pageCombo(1271)->findText("1.0"));

    view->tabStrip()->select(DEBRIEFING_1);
    qobject_cast<QAbstractButton*>(pageItem(1364))->click();
    pressOkAndClose();
    const PropertyModel& live = controller.getPropertyModel();
    EXPECT_FALSE(live.ratioAsPercent);
    EXPECT_FALSE(live.overrideCompressionDepth);
    EXPECT_EQ(live.compressionDepthLow, model.compressionDepthLow);
    EXPECT_FALSE(live.debriefingAsCounts);
    // The minute-volume bounds stay as they were entered.
    EXPECT_EQ(live.minuteVolumeLow, 6.0);
    EXPECT_EQ(live.minuteVolumeHigh, 1.5);
}

namespace {

// Whether two records agree in the one field a control is bound to.
bool sameField(const PageField& field, const PropertyModel& a, const PropertyModel& b)
{
    if (field.kind == PageField::Kind::LanguageCombo)
        return a.getLanguage(std::get<int>(field.field)) == b.getLanguage(std::get<int>(field.field));
    if (field.kind == PageField::Kind::IconCombo)
        return a.getIcon(std::get<int>(field.field)) == b.getIcon(std::get<int>(field.field));
    return std::visit(
        [&](auto member) {
            if constexpr (std::is_member_object_pointer_v<decltype(member)>)
                return a.*member == b.*member;
            else
                return false;
        },
        field.field);
}

// A value unlike the default for every bound field: flags flipped, numbers
// inside their bounds and rising along the table (so bound pairs stay in
// order), texts, algorithms, languages and pictures of their own.
PropertyModel distinctRecord(const ConfigurationDialogs& dialogs)
{
    PropertyModel model;
    for (int page = 0; page < 5; ++page) {
        const std::vector<PageField>& fields = dialogs.page(page)->fields();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const PageField& field = fields[i];
            const double share = double(i + 1) / double(fields.size() + 1);
            const double inside = field.low + (field.high - field.low) * share;
            switch (field.kind) {
            case PageField::Kind::Check:
            case PageField::Kind::Choice:
            case PageField::Kind::ComboChoice: {
                auto flag = std::get<bool PropertyModel::*>(field.field);
                model.*flag = !(model.*flag);
                break;
            }
            case PageField::Kind::Number:
                model.*std::get<double PropertyModel::*>(field.field) = std::round(inside * 100.0) / 100.0;
                break;
            case PageField::Kind::Integer:
                model.*std::get<std::int32_t PropertyModel::*>(field.field) = static_cast<int>(std::round(inside));
                break;
            case PageField::Kind::Text:
                model.*std::get<std::wstring PropertyModel::*>(field.field) = L"Kursus \u00C5lborg \u2014 hold 2";
                break;
            case PageField::Kind::ComboText:
                model.*std::get<std::string PropertyModel::*>(field.field) =
                    field.id == 1080 ? "ERC 2010 (European Resuscitation Council)" : "AHA 2010 (American Heart Association)";
                break;
            case PageField::Kind::LanguageCombo: {
                const int slot = std::get<int>(field.field);
                model.setLanguage(slot, std::vector<std::string>{"fr", "en", "de"}[static_cast<std::size_t>(slot)]);
                break;
            }
            case PageField::Kind::IconCombo: {
                const int slot = std::get<int>(field.field);
                model.setIcon(slot, 90 - 7 * slot);
                break;
            }
            }
        }
    }
    return model;
}

} // namespace

TEST_F(ConfigurationDialog, everyBoundControlCarriesItsFieldBothWays)
{
    kovatest::TempDir catalogs;
    for (const char* name : {"de.mo", "fr.mo"})
        kovatest::writeFile(catalogs.path() / name, "");
    kovatest::ScopedCwd cwd(catalogs.path());

    const PropertyModel record = distinctRecord(dialogs);
    controller.setPropertyModel(record);
    open(GENERAL);
    for (int page = GENERAL; page <= CONTROLLER; ++page) {
        ASSERT_TRUE(view->tabStrip()->select(page));
        // Stored into a default record, each field can only come from its control.
        PropertyModel stored;
        ASSERT_TRUE(dialogs.page(page)->store(stored));
        for (const PageField& field : dialogs.page(page)->fields()) {
            SCOPED_TRACE(field.id);
            EXPECT_FALSE(sameField(field, record, PropertyModel())) << "the test value is the default";
            EXPECT_TRUE(sameField(field, record, stored));
        }
    }
    pressOkAndClose();
    EXPECT_TRUE(controller.getPropertyModel() == record);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(ConfigurationDialog, everyBoundedFieldTakesItsBoundsAndRefusesWhatLiesOutside)
{
    int bounded = 0;
    for (int page = GENERAL; page <= CONTROLLER; ++page) {
        open(page);
        ConfigPage& shown = *dialogs.page(page);
        for (const PageField& field : shown.fields()) {
            const bool isInteger = field.kind == PageField::Kind::Integer;
            if (!isInteger && field.kind != PageField::Kind::Number)
                continue;
            ++bounded;
            SCOPED_TRACE(field.id);
            const double step = isInteger ? 1.0 : (field.high - field.low) / 1000.0;
            const struct {
                double value;
                bool taken;
            } cases[] = {{field.low, true}, {field.high, true}, {field.low - step, false}, {field.high + step, false}};
            for (const auto& c : cases) {
                SCOPED_TRACE(c.value);
                type(field.id, QString::fromStdString(PageExchange::formatNumber(c.value)));
                asker.asked.clear();
                PropertyModel model = controller.getEditedModel();
                const PropertyModel before = model;
                ASSERT_EQ(shown.store(model), c.taken);
                if (!c.taken) {
                    EXPECT_TRUE(model == before) << "a refused page leaves the record";
                    ASSERT_EQ(asker.asked.size(), 1u);
                    const std::wstring expected = std::wstring(isInteger ? L"Please enter an integer between "
                                                                         : L"Please enter a number between ")
                        + toWide(PageExchange::formatNumber(field.low)) + L" and "
                        + toWide(PageExchange::formatNumber(field.high)) + L".";
                    EXPECT_EQ(asker.asked[0].text, expected);
                    continue;
                }
                EXPECT_TRUE(asker.asked.empty());
                if (isInteger) {
                    EXPECT_EQ(model.*std::get<std::int32_t PropertyModel::*>(field.field), static_cast<int>(c.value));
                    continue;
                }
                // A bound pair typed the wrong way round is put in order, so
                // the value may have moved to the pair's other field.
                bool held = false;
                for (const PageField& other : shown.fields())
                    if (other.kind == PageField::Kind::Number)
                        held = held || model.*std::get<double PropertyModel::*>(other.field) == c.value;
                EXPECT_TRUE(held);
            }
            // The control keeps a valid value for the next field's cases.
            type(field.id, QString::fromStdString(PageExchange::formatNumber(field.low)));
        }
        press(kova::IDCANCEL);
        view.reset();
    }
    EXPECT_EQ(bounded, 11);
}
