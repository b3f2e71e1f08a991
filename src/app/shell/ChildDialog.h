#pragma once
// The base of every dialog that lives in a DialogFrame (New session, Run
// course, Search for Manikins, Surveillance): built from its template as a
// child of the frame and translated, OK and Cancel close the frame, the Help
// button (32800) calls help(), and the main window's shortcuts and the MDI
// keys (Ctrl+F6) keep working while the focus is in it, since the dialog is
// part of the main window. A fixed-size dialog never sets a layout; a
// resizable one sets its layout tree as LayoutDialog describes.

#include "Rodezir/dialogs/LayoutDialog.h"

class ChildFrame;

class ChildDialog : public kova::LayoutDialog {
    Q_OBJECT
public:
    static constexpr int ID_HELP = 32800;

    explicit ChildDialog(int templateId);
    explicit ChildDialog(const kova::DialogTemplate& dialogTemplate);

    // Builds the dialog as a child window of `parent` (its frame); false when
    // the template is missing or cannot be built. Once built, calling it again
    // answers the first result.
    virtual bool create(QWidget* parent);
    // Whether the frame may close now.
    virtual bool canClose() { return true; }
    // The frame was shown or hidden.
    virtual void onFrameShow(bool show, int status) {}
    // The frame was closed for good by its close box, Ctrl+F4 or its system
    // menu, once canClose agreed; the dialog's own OK and Cancel do not
    // come here. The frame goes once control is back in the event loop.
    virtual void onFrameClosed() {}
    // The Help button; a dialog with a help topic opens it here.
    virtual void help() {}

    // The frame around the dialog, or null before it is hosted.
    ChildFrame* parentFrame() const;
    void showFrame();
    void hideFrame();

protected:
    // Translates the dialog and answers the Help button; derived dialogs call it first.
    bool onInitDialog() override;
    // The dialog's own OK or Cancel, then the frame goes.
    void onOK() override;
    void onCancel() override;
};
