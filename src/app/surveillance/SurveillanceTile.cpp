#include "app/surveillance/SurveillanceTile.h"

#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/surveillance/GraphLabelFont.h"
#include "app/surveillance/SurveillanceTileGeometry.h"
#include "app/surveillance/SurveillanceTileText.h"
#include "app/surveillance/ZoomWindows.h"

#include <QLabel>

namespace {

QRect qrect(const kova::RECT& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The rate label's small font: Verdana beside an ECG pane, Times New Roman without.
QFont rateFont(bool withEcg)
{
    QFont font;
    kova::FontUtil::create(font, withEcg ? "Verdana" : "Times New Roman", kova::FontUtil::pointsToLogical(70), false,
                           false);
    return font;
}

template <class Window>
void destroy(QPointer<Window>& window)
{
    delete window.data();
    window.clear();
}

} // namespace

SurveillanceTile::SurveillanceTile(Session& session, int windowMs, bool ecgOn)
    : ecg(ecgOn), session_(session)
{
    axis_ = new AxisCtrl(session, nullptr);
    axis_->setViewIndexes(ZoomWindows::windowIndexes(windowMs, axis_->getCurrentFreq()));
    ventGraphView_ = GraphView::createView(session.getVentilationDoc());
    compGraphView_ = GraphView::createView(session.getCompressionDoc());
    ecgGraphView_ = GraphView::createView(session.getEcgDoc());
    // The session switches the ECG rhythms on a defibrillation mark as the
    // sample arrives; the tile's ECG pane only draws it.
    ecgGraphView_->setEcgStyle(true);
    for (GraphView* pane : {ventGraphView_.data(), compGraphView_.data(), ecgGraphView_.data()}) {
        pane->setAxisCtrl(axis_);
        // A tile shows when its session starts, pauses or loses its link.
        connect(session.stateChanged, *pane, &GraphView::redrawAll);
    }
}

SurveillanceTile::~SurveillanceTile()
{
    // The panes leave the axis as they go; the labels and the axis follow.
    destroy(ventGraphView_);
    destroy(ecgGraphView_);
    destroy(compGraphView_);
    destroy(staticCtrl_);
    destroy(staticCtrlTwo_);
    destroy(axis_);
}

bool SurveillanceTile::create(QWidget* parent, kova::HoverHintStatic* readout)
{
    if (created_)
        return true;
    const std::wstring caption = SurveillanceTileText::caption(session_.getTitleWide(), session_.getPersonVentilation(),
                                                               session_.getPersonChestCompression());
    staticCtrl_ = new QLabel(QString::fromStdWString(caption), parent);
    // A tile narrower than its caption still names both trainees in full.
    staticCtrl_->setToolTip(staticCtrl_->text());
    staticCtrl_->hide();
    kova::setControlId(staticCtrl_, LABEL_ID);
    staticCtrlTwo_ = new QLabel(
        QString::fromStdWString(SurveillanceTileText::rate(session_.getCommSession().getCompressionRate(), false)),
        parent);
    staticCtrlTwo_->hide();
    staticCtrlTwo_->setFont(GraphLabelFont::font());
    kova::setControlId(staticCtrlTwo_, LABEL_ID);

    if (!axis_->Create(parent))
        return false;
    axis_->setMode(TimeAxis::MODE_SURVEILLANCE);
    for (GraphView* pane : {ventGraphView_.data(), ecgGraphView_.data(), compGraphView_.data()}) {
        if (!pane->Create(parent))
            return false;
        pane->setReadoutTarget(readout);
    }
    created_ = true;
    return true;
}

void SurveillanceTile::place(const SurveillanceTileGeometry& geometry)
{
    if (!created_)
        return;
    staticCtrl_->setGeometry(qrect(geometry.caption));
    if (geometry.axis)
        axis_->setGeometry(qrect(*geometry.axis));
    if (geometry.ventilation)
        ventGraphView_->setGeometry(qrect(*geometry.ventilation));
    if (geometry.ecg)
        ecgGraphView_->setGeometry(qrect(*geometry.ecg));
    if (geometry.compression)
        compGraphView_->setGeometry(qrect(*geometry.compression));
    if (!rateFontSet_ || rateFontWithEcg_ != geometry.withEcg) {
        staticCtrlTwo_->setFont(rateFont(geometry.withEcg));
        rateFontWithEcg_ = geometry.withEcg;
        rateFontSet_ = true;
    }
    staticCtrlTwo_->setGeometry(qrect(geometry.rate));
    updateRate();
}

void SurveillanceTile::showWindows(bool visible, bool ecgVisible)
{
    if (!created_)
        return;
    for (QWidget* window : std::initializer_list<QWidget*>{staticCtrl_, staticCtrlTwo_, axis_, ventGraphView_,
                                                           compGraphView_})
        window->setVisible(visible);
    ecgGraphView_->setVisible(visible && ecgVisible);
}

void SurveillanceTile::hideEcgPane()
{
    if (created_)
        ecgGraphView_->hide();
}

void SurveillanceTile::updateRate()
{
    if (!created_)
        return;
    staticCtrlTwo_->setText(
        QString::fromStdWString(SurveillanceTileText::rate(session_.getCommSession().getCompressionRate(), true)));
    staticCtrlTwo_->repaint();
}

void SurveillanceTile::setViewWindow(int milliseconds)
{
    axis_->setViewIndexes(ZoomWindows::windowIndexes(milliseconds, axis_->getCurrentFreq()));
}

void SurveillanceTile::catchUp() { axis_->catchUp(); }

bool SurveillanceTile::isEcgCapable() const
{
    const SessionLink* link = session_.link();
    return link && link->sendsEcg();
}

int SurveillanceTile::labelHeight() { return GraphLabelFont::textHeight(); }

AxisCtrl* SurveillanceTile::axis() const { return axis_; }
GraphView* SurveillanceTile::ventilationPane() const { return ventGraphView_; }
GraphView* SurveillanceTile::compressionPane() const { return compGraphView_; }
GraphView* SurveillanceTile::ecgPane() const { return ecgGraphView_; }
QLabel* SurveillanceTile::captionLabel() const { return staticCtrl_; }
QLabel* SurveillanceTile::rateLabel() const { return staticCtrlTwo_; }
