#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

} // namespace platform
