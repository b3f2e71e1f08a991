#pragma once
// Builds Qt widgets from dialog template bytes, the way the dialog manager
// creates a dialog: the template's font and caption on the dialog, its client
// area and every control at the pixel rectangle its dialog units give with the
// template's base units, each control carrying its id (see DialogItem.h), in
// tab order.
//
// Window classes map to widgets:
//   BUTTON     push and default buttons, owner-drawn buttons -> QPushButton;
//              check boxes (two- and three-state) -> QCheckBox; radio buttons
//              -> QRadioButton, exclusive within each WS_GROUP run; group box
//              -> QGroupBox, kept below its sibling controls
//   EDIT       QLineEdit, or QPlainTextEdit with ES_MULTILINE (Tab moves on
//              from it, Ctrl+Tab types a tab)
//   STATIC     text (left, centre, right) -> QLabel; icon and bitmap -> QLabel
//              with the picture of the resource the text names ("#<id>" or an
//              ordinal); rectangles, frames and etched lines -> QFrame
//   COMBOBOX   QComboBox (editable unless CBS_DROPDOWNLIST), at its closed
//              height; an editable one drops its selection when the user types
//   LISTBOX    QListWidget;  SCROLLBAR -> QScrollBar
//   msctls_progress32 -> QProgressBar; msctls_trackbar32 -> QSlider;
//   msctls_updown32 -> QSpinBox showing only its arrows
//   SysListView32 -> QTreeWidget in report view, QListWidget in the icon,
//   small-icon and list views; SysTabControl32 -> QTabBar;
//   SysAnimate32 -> QLabel
// The station's own controls register their class names with
// registerWindowClass; an unknown class becomes a plain QWidget (logged).

#include "Rodezir/dialogs/DialogTable.h"

#include <functional>
#include <string>

class QWidget;

namespace kova {

class DialogTemplate;

class DialogBuilder {
public:
    // Makes a widget for one control of a template; the builder then sets its
    // id, geometry, text, visibility, enabled state and tab order.
    using Factory = std::function<QWidget*(QWidget* parent, const DialogControlTable& control)>;

    // Registers (or replaces) the widget maker of a window class (any case).
    static void registerWindowClass(const std::wstring& windowClass, Factory factory);
    static bool isRegistered(const std::wstring& windowClass);

    // Creates the controls of the template as children of `dialog` and gives
    // the dialog the template's font, caption and client size. False, and
    // nothing created, for an empty or malformed template.
    static bool build(QWidget* dialog, const DialogTemplate& dialogTemplate);

    // Creates one control of a template inside `parent` at its rectangle.
    static QWidget* createControl(QWidget* parent, const DialogControlTable& control,
                                  const DialogTemplate& dialogTemplate);
};

} // namespace kova
