#include "app/livepanel/EcgRhythmBox.h"

#include "app/livepanel/SessionGraphView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/surveillance/EcgRhythmPanel.h"

EcgRhythmBox::EcgRhythmBox(Session& session, const std::wstring& title)
    : panel_(std::make_unique<EcgRhythmPanel>(session.link() ? session.link()->serialPort() : nullptr, title))
{
    panel_->hide();
}

EcgRhythmBox::~EcgRhythmBox() = default;

void EcgRhythmBox::install()
{
    SessionGraphView::setEcgBoxFactory([](Session& session, const std::wstring& title) -> std::unique_ptr<EcgBox> {
        return std::make_unique<EcgRhythmBox>(session, title);
    });
}

void EcgRhythmBox::toggleVisible() { panel_->toggleVisible(); }

void EcgRhythmBox::show()
{
    if (!panel_->isVisible())
        panel_->toggleVisible();
}

void EcgRhythmBox::hide() { panel_->hide(); }

bool EcgRhythmBox::isVisible() const { return panel_->isVisible(); }

void EcgRhythmBox::sendToManikin() { panel_->sendToManikin(); }

void EcgRhythmBox::checkRhythmSwitch(int sampleIndex) { panel_->checkRhythmSwitch(sampleIndex); }
