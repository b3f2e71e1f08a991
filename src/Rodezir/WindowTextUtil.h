#pragma once
// Window texts read safely and written only when they change, so a text set
// again on every refresh neither flickers nor sends a change notification;
// and the text limit of an edit.

#include <QString>

#include <string>

class QWidget;

namespace kova {

// The window text; empty for a null window.
QString getWindowText(const QWidget* window);
void setWindowTextIfChanged(QWidget* window, const QString& text);
// The same for the control of that id in `parent` (UTF-8 text); nothing when there is no such control.
void setDlgItemTextIfChanged(QWidget* parent, int id, const std::string& text);
// The most characters a one-line or multi-line edit takes: typing and
// pasting stop there. Nothing for other windows.
void limitText(QWidget* edit, int limit);

} // namespace kova
