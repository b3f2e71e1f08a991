#pragma once
// Message boxes of the windowed program: the station's box styles shown with QMessageBox.

#include "platform/MessageBox.h"

class QWidget;

namespace platform {

class QtMessageAsker final : public MessageAsker {
public:
    // What a window manager's title bar takes beside the caption: the
    // window's icon, its buttons and their spacing.
    static constexpr int TITLE_BAR_ROOM = 120;

    // Boxes are shown over the modal window the user is in, else over the
    // given window (the main frame), or centred when there is neither.
    explicit QtMessageAsker(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    int ask(const std::wstring& text, const std::wstring& caption, unsigned style) override;

private:
    QWidget* parent_;
};

} // namespace platform
