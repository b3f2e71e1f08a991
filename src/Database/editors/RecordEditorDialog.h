#pragma once
// A record editor's window: a dialog from its template with the record
// rules of DatabaseDialog as its second base. It binds the shared controls
// (New, Delete, Save changes, Discard changes, the four navigation buttons,
// quick find, Help, Close) to those rules, enables them by the button mask,
// moves the focus on Enter instead of closing, and asks before Escape or the
// close box lose a changed entry.

#include "Database/record-controls/ComboBoxList.h"
#include "Database/editors/DatabaseDialog.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "controls/MapBitmapButton.h"
#include "controls/RoundButton.h"
#include "platform/Help.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include <initializer_list>
#include <string>
#include <type_traits>

// The ids every record editor's template gives its shared controls.
namespace recordcontrols {
inline constexpr int NEW = 1112;
inline constexpr int REMOVE = 1113;
inline constexpr int SAVE = 1114;
inline constexpr int DISCARD = 1115;
inline constexpr int NEXT = 1116;
inline constexpr int PREVIOUS = 1117;
inline constexpr int FIRST = 1126;
inline constexpr int LAST = 1127;
inline constexpr int QUICK_FIND = 1242;
inline constexpr int HELP = 32800;
inline constexpr int CLOSE = 2;
inline constexpr int NAME = 1118;
} // namespace recordcontrols

// `Dialog` is the window's base: a TemplateDialog, or a LayoutDialog for an
// editor that can be resized.
template <class Table, class Record, class Dialog = kova::TemplateDialog>
class RecordEditorDialog : public Dialog, public DatabaseDialog<Table, Record> {
public:
    using Rules = DatabaseDialog<Table, Record>;

    // `lastField` is the field from which Enter goes back to the name.
    RecordEditorDialog(int templateId, int helpTopic, bool allowDelete, int lastField, QWidget* parent)
        : Dialog(templateId, parent), helpTopic_(helpTopic), allowDelete_(allowDelete), lastField_(lastField)
    {
    }

    using Dialog::getDlgItem;

    bool allowDelete() const { return allowDelete_; }

protected:
    // Round push buttons, the navigation pictures and the notifications of
    // the shared controls; the editor calls it first in its initialisation.
    void bindSharedControls()
    {
        using namespace recordcontrols;
        for (int id : {NEW, REMOVE, SAVE, DISCARD, HELP, CLOSE})
            kova::RoundButton::attach(this, id);
        // Normal, pressed, focused and disabled pictures of each button.
        const int pictures[4][5] = {
            {FIRST, 186, 184, 185, 187},
            {LAST, 190, 188, 189, 191},
            {NEXT, 194, 192, 193, 195},
            {PREVIOUS, 182, 180, 181, 183},
        };
        for (const auto& button : pictures)
            (new kova::MapBitmapButton(this))->autoLoad(button[0], this, button[1], button[2], button[3], button[4]);

        kova::ControlNotifier& events = this->notifier();
        using kova::Notification;
        events.on(NEW, Notification::Clicked, [this] { onNewButton(); });
        events.on(REMOVE, Notification::Clicked, [this] { onRemoveButton(); });
        events.on(SAVE, Notification::Clicked, [this] { onSaveButton(); });
        events.on(DISCARD, Notification::Clicked, [this] { onDiscardButton(); });
        events.on(FIRST, Notification::Clicked, [this] { onFirstButton(); });
        events.on(LAST, Notification::Clicked, [this] { onLastButton(); });
        // A double click reaches a button as two clicks already.
        events.on(NEXT, Notification::Clicked, [this] { onNextButton(); });
        events.on(PREVIOUS, Notification::Clicked, [this] { onPreviousButton(); });
        events.on(QUICK_FIND, Notification::SelectionChanged, [this] {
            if (QComboBox* box = quickFindBox())
                onQuickFindChosen(kova::ComboUtil::getText(box, false));
        });
        events.on(HELP, Notification::Clicked, [this] { showHelp(); });
    }

    // Each control's change refreshes the buttons (nothing while a record is put in).
    void refreshButtonsOn(std::initializer_list<int> ids, kova::Notification notification)
    {
        for (int id : ids)
            this->notifier().on(id, notification, [this] { this->updateButtons(); });
    }

    // The shared buttons and the quick find; an editor with steps of its own overrides them.
    virtual void onNewButton() { this->onNew(); }
    virtual void onRemoveButton() { this->remove(true); }
    virtual void onSaveButton() { this->save(); }
    virtual void onDiscardButton() { this->onDiscard(); }
    virtual void onFirstButton() { this->onFirst(); }
    virtual void onLastButton() { this->onLast(); }
    virtual void onNextButton() { this->onNext(); }
    virtual void onPreviousButton() { this->onPrevious(); }
    // The quick-find box closed on a text. A key that is not a plain text
    // (a course's) needs the editor to read the text.
    virtual void onQuickFindChosen(const QString& text)
    {
        if constexpr (std::is_constructible_v<typename Rules::Key, std::string>)
            this->quickFind(text.toStdString());
    }

    // Bits 0-5 and 7 of the mask enable their buttons; Delete needs bit 6
    // and an editor that may delete at all (and `deletable`).
    void enableSharedButtons(unsigned mask, bool deletable = true)
    {
        using namespace recordcontrols;
        const std::pair<int, unsigned> buttons[] = {
            {SAVE, recordbuttons::SAVE}, {DISCARD, recordbuttons::DISCARD}, {FIRST, recordbuttons::FIRST},
            {LAST, recordbuttons::LAST}, {NEXT, recordbuttons::NEXT},       {PREVIOUS, recordbuttons::PREVIOUS},
        };
        for (const auto& [id, bit] : buttons)
            kova::enableControl(getDlgItem(id), (mask & bit) != 0);
        kova::enableControl(getDlgItem(REMOVE), (mask & recordbuttons::REMOVE) && allowDelete_ && deletable);
        kova::enableControl(getDlgItem(NEW), (mask & recordbuttons::NEW) != 0);
    }

    QComboBox* quickFindBox() const { return qobject_cast<QComboBox*>(getDlgItem(recordcontrols::QUICK_FIND)); }
    // The quick find lists the table's names, keeping nothing selected.
    void fillQuickFindFrom(Table& table)
    {
        if (QComboBox* box = quickFindBox()) {
            ComboBoxList list(*box);
            table.fillComboBox(list, "name", "");
            box->setCurrentIndex(-1);
        }
    }
    void clearQuickFindSelection()
    {
        if (QComboBox* box = quickFindBox())
            box->setCurrentIndex(-1);
    }

    // Enter never closes: it moves the focus on, from the last field back to the name.
    void onOK() override
    {
        QWidget* focused = this->focusWidget();
        if (focused && kova::controlId(focused) == lastField_) {
            if (QWidget* name = getDlgItem(recordcontrols::NAME))
                name->setFocus(Qt::TabFocusReason);
            return;
        }
        this->focusNextChild();
    }
    // Escape, Close and the close box: a field being left is checked first,
    // then a changed entry is saved, dropped or kept open as the user says.
    void onCancel() override
    {
        if (QWidget* close = getDlgItem(recordcontrols::CLOSE))
            close->setFocus(Qt::OtherFocusReason);
        if (this->queryLeave())
            this->reject();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier
            && !qobject_cast<QPushButton*>(this->focusWidget())) {
            onOK();
            event->accept();
            return;
        }
        Dialog::keyPressEvent(event);
    }

    void showWaitCursor(bool on) override
    {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

private:
    void showHelp()
    {
        if (!platform::showHelpTopic(helpTopic_))
            LogStream::instance() << "Online help is not available (topic " << helpTopic_ << ").\n";
    }

    int helpTopic_;
    bool allowDelete_;
    int lastField_;
};
