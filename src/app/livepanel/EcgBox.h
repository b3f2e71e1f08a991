#pragma once
// The ECG rhythm panel of a session as its live graph panel owns it: made
// hidden with the session and its title when the live panel is made, shown
// and hidden by the "ECG BOX" button and by the session window's tabs, and
// told to send its rhythms to the manikin. The ECG panel's code installs the
// factory (SessionGraphView::setEcgBoxFactory); without one the live panel
// has no ECG box and its button stays disabled.

#include <functional>
#include <memory>
#include <string>

class Session;

class EcgBox {
public:
    virtual ~EcgBox() = default;

    // Shows the panel; hides it when it was visible already.
    virtual void toggleVisible() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // Tells the manikin the current and next rhythm and the artefacts.
    virtual void sendToManikin() = 0;
    // ECG sample `sampleIndex` carries the defibrillation mark: the next
    // rhythm becomes the current one.
    virtual void checkRhythmSwitch(int sampleIndex) = 0;

    // Makes a session's ECG box, hidden; null when it has none.
    using Factory = std::function<std::unique_ptr<EcgBox>(Session& session, const std::wstring& title)>;
};
