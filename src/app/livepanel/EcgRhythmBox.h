#pragma once
// A session's ECG box in the windowed program: the ECG rhythm panel on the
// session's manikin port, a floating window of its own, hidden at first.
// install() makes every later live panel own one.

#include "app/livepanel/EcgBox.h"

#include <memory>

class EcgRhythmPanel;

class EcgRhythmBox final : public EcgBox {
public:
    EcgRhythmBox(Session& session, const std::wstring& title);
    ~EcgRhythmBox() override;

    static void install();

    void toggleVisible() override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    void sendToManikin() override;
    void checkRhythmSwitch(int sampleIndex) override;

    EcgRhythmPanel& panel() const { return *panel_; }

private:
    std::unique_ptr<EcgRhythmPanel> panel_;
};
