#pragma once
// Turns the signals and events of a dialog's controls into the (control id,
// notification) calls that dialog code is written against, so a dialog says
// "when IDC_NAME's edit changes, do this" instead of wiring widget signals.
//
//   Clicked          a button was clicked (also check boxes and radio buttons)
//   DoubleClicked    a control or a list item was double-clicked
//   SelectionChanged the user chose another combo box entry, list box row or tab
//   EditChanged      the text of an edit or editable combo box changed
//   FocusLost        the control lost the keyboard focus
//   ListItemChanged  a list view row changed (current row, selection or check)
//
// The station's own controls report their notifications with send().

#include <QObject>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QWidget;

namespace kova {

enum class Notification { Clicked, DoubleClicked, SelectionChanged, EditChanged, FocusLost, ListItemChanged };

class ControlNotifier : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    using AnyHandler = std::function<void(int controlId, Notification notification)>;

    // Watches every control of `dialog` that carries an id, now and when attach() is called later.
    explicit ControlNotifier(QWidget* dialog);

    // Calls `handler` for that notification of that control. One handler per
    // pair; a later call replaces it.
    void on(int controlId, Notification notification, Handler handler);
    // Called for every notification that no handler of its own takes.
    void onAny(AnyHandler handler);

    // Starts watching one more control (built after the notifier).
    void attach(QWidget* control);

    // Delivers a notification of `control` to the notifier of its dialog, for
    // controls of our own that have no Qt signal the adapter knows.
    static bool send(QWidget* control, Notification notification);
    // Delivers a notification by id.
    void dispatch(int controlId, Notification notification);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hook(QWidget* control);

    QWidget* dialog_;
    std::map<std::pair<int, Notification>, Handler> handlers_;
    AnyHandler anyHandler_;
    std::vector<QWidget*> hooked_;
};

} // namespace kova
