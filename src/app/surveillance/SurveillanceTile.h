#pragma once
// One session in the surveillance window: its ventilation, compression and
// ECG panes over a time axis of the tile's own, the caption line with the
// session's title and trainees, and the compression rate. The tile owns its
// windows; they are made when the surveillance window exists and placed by
// its layout.

#include "Rodezir/SlotHolder.h"

#include <QPointer>

class AxisCtrl;
class GraphView;
class QLabel;
class QWidget;
class Session;
struct SurveillanceTileGeometry;

namespace kova {
class HoverHintStatic;
}

class SurveillanceTile : public virtual SlotHolder {
public:
    // The caption and rate labels carry this id.
    static constexpr int LABEL_ID = 65535;

    // The panes and the axis for the session, without windows yet; the axis
    // shows `windowMs` milliseconds. `ecg`: "Show ECG signal" is on.
    SurveillanceTile(Session& session, int windowMs, bool ecg);
    // The windows go with the tile.
    ~SurveillanceTile() override;
    SurveillanceTile(const SurveillanceTile&) = delete;
    SurveillanceTile& operator=(const SurveillanceTile&) = delete;

    // Makes the tile's windows as hidden children of the surveillance
    // window, the panes writing their mouse readout into `readout`; false
    // when a window could not be made.
    bool create(QWidget* parent, kova::HoverHintStatic* readout);
    bool isCreated() const { return created_; }

    // Moves the windows where the layout put them.
    void place(const SurveillanceTileGeometry& geometry);
    // Shows or hides the windows; the ECG pane only with `ecgVisible`.
    void showWindows(bool visible, bool ecgVisible);
    void hideEcgPane();
    // The rate label shows the session's compression rate now.
    void updateRate();
    // The axis shows the last `milliseconds` of the session.
    void setViewWindow(int milliseconds);
    // The axis takes the session's newest sample.
    void catchUp();

    Session& getSession() const { return session_; }
    // The session's manikin sends an ECG signal.
    bool isEcgCapable() const;

    // Checked in the session list.
    bool shown = true;
    // "Show ECG signal" as the tile last took it.
    bool ecg = false;

    AxisCtrl* axis() const;
    GraphView* ventilationPane() const;
    GraphView* compressionPane() const;
    GraphView* ecgPane() const;
    QLabel* captionLabel() const;
    QLabel* rateLabel() const;

    // The height of the caption and rate lines.
    static int labelHeight();

private:
    Session& session_;
    QPointer<AxisCtrl> axis_;
    QPointer<GraphView> ventGraphView_;
    QPointer<GraphView> compGraphView_;
    QPointer<GraphView> ecgGraphView_;
    QPointer<QLabel> staticCtrl_;
    QPointer<QLabel> staticCtrlTwo_;
    bool created_ = false;
    bool rateFontWithEcg_ = false;
    bool rateFontSet_ = false;
};
