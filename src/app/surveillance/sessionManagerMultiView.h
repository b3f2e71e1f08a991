#pragma once
// The surveillance window: every session of the station at once, a tile each
// with its curves, time axis, caption and compression rate, laid out in a
// grid. The instructor chooses the sessions shown (a check list), the common
// time window (zoom), whether ECG curves are shown, and the session whose ECG
// rhythm panel is open. The session manager makes the one instance and tells
// it of every session added or removed, with or without its window.

#include "app/shell/ChildDialog.h"

#include <QTimer>

#include <memory>
#include <vector>

class QComboBox;
class QListWidget;
class QSpinBox;
class Session;
class SurveillanceTile;

namespace kova {
class HoverHintStatic;
}

class sessionManagerMultiView : public ChildDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 134;
    static constexpr int IDC_ECG_BOX = 1488;
    static constexpr int IDC_ZOOM_SPIN = 1024;
    static constexpr int IDC_SHOW_ECG = 1481;
    static constexpr int IDC_ZOOM = 1010;
    static constexpr int IDC_VIEW_LIST = 1016;
    static constexpr int IDC_MOUSE_POSITION = 1007;
    static constexpr int HELP_TOPIC = 10005;
    static constexpr int RATE_REFRESH_MS = 250;

    sessionManagerMultiView();
    ~sessionManagerMultiView() override;

    // A tile for the session at the end of the list; with the window, its
    // windows too, both lists refilled, the current zoom applied and the tiles
    // laid out again.
    void addSession(Session* session);
    // The session's tile goes; a session without one changes nothing.
    void removeSession(Session* session);

    bool create(QWidget* parent) override;
    void help() override;

    // Lays the tiles out in a client area of that size.
    void layoutTiles(int width, int height);
    // One tick of the 250 ms timer: every tile's rate label.
    void onTimer();
    const QTimer& timer() const { return timer_; }

    // The samples a window of that length spans at the axis's rate.
    static int windowIndexes(int milliseconds, double currentFreq);

    const std::vector<std::unique_ptr<SurveillanceTile>>& tiles() const { return viewList_; }
    int getWindowLength() const { return windowLength_; }
    int getTileAreaLeft() const { return tileAreaLeft_; }
    kova::HoverHintStatic* mousePosition() const { return readout_; }

protected:
    bool onInitDialog() override;
    void onSize(int cx, int cy) override;

private:
    void fillViewList();
    void fillEcgBoxList();
    void fillLists();
    void onViewListChanged();
    void onShowEcgClicked();
    void onZoomSelected();
    void onZoomSpin(int position);
    void onEcgBoxSelected();
    void layoutClient();
    std::vector<SurveillanceTile*> ecgCapableTiles() const;

    QComboBox* ecgBoxList_ = nullptr;
    QSpinBox* zoomSpin_ = nullptr;
    QComboBox* zoomList_ = nullptr;
    QListWidget* viewListCtrl_ = nullptr;
    kova::HoverHintStatic* readout_ = nullptr;
    bool initialised_ = false;
    bool filling_ = false;
    int windowLength_;
    int tileAreaLeft_ = 0;
    std::vector<std::unique_ptr<SurveillanceTile>> viewList_;
    QTimer timer_;
};
