#pragma once
// The base of the resizable dialogs: owns a layout tree (see LayoutItem.h),
// places it whenever the dialog is resized, keeps the dialog from being made
// smaller than it was when the layout was set (and no more than 10000 pixels
// larger), and translates the dialog's marked texts when it is created.
//
// A derived dialog builds its tree in its onInitDialog after calling
// LayoutDialog::onInitDialog (so the natural rectangles are those of the
// translated texts), then calls setLayout(tree, false).

#include "Rodezir/dialogs/LayoutItem.h"
#include "Rodezir/dialogs/TemplateDialog.h"

namespace kova {

// The tracking sizes of a window, frame included.
struct MinMaxInfo {
    POINT minTrackSize;
    POINT maxTrackSize;
    bool hasMinTrack = false;
};

class LayoutDialog : public TemplateDialog {
    Q_OBJECT
public:
    explicit LayoutDialog(int templateId, QWidget* parent = nullptr);
    explicit LayoutDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

    // Keeps a clone of the tree and sets it up with the current client area.
    void setLayout(const LayoutItemPtr& layout, bool noMinimumTrack);
    const LayoutItem* layoutTree() const { return layout_.get(); }

    // The tracking sizes as the dialog answers them now.
    MinMaxInfo getMinMaxInfo();
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    bool isInitialised() const { return initialised_; }

protected:
    bool onInitDialog() override;
    // Places the layout in the client area once the dialog is initialised.
    virtual void onSize(int cx, int cy);
    virtual void onGetMinMaxInfo(MinMaxInfo& info);

    void resizeEvent(QResizeEvent* event) override;

private:
    void applyTrackSizes();

    bool initialised_ = false;
    bool noMinimumTrack_ = false;
    LayoutItemPtr layout_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};

} // namespace kova
