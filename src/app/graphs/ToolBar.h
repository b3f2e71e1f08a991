#pragma once
// The event buttons of one session: the list of its toolbar buttons, the
// toolbars of its graph panels filled from that list and switched on and off
// together, and a button's picture drawn wherever a mark shows it.

#include "app/graphs/ToolbarButton.h"
#include "controls/IconImageList.h"

#include <QImage>

#include <deque>

class QAction;
class QPainter;
class QToolBar;

class ToolBar {
public:
    static constexpr int BUTTON_WIDTH = 16;
    static constexpr int BUTTON_HEIGHT = 15;
    static constexpr int BITMAP_ID = 280;

    // Loads the picture strip (bitmap 280).
    ToolBar();

    // Appends a copy of the button and enters its tooltip in the tooltip
    // table under its command id.
    void add(const ToolbarButton& record);
    // The first button with that command id, or null.
    const ToolbarButton* findButton(int commandId) const;
    int getButtonCount() const { return static_cast<int>(buttons_.size()); }
    // The buttons in the order added; they never move while the toolbar lives,
    // so the toolbar actions can point at them.
    const std::deque<ToolbarButton>& getButtons() const { return buttons_; }

    // Fills a toolbar with one action per button (a separator for a negative
    // id): its picture, its text (a doubled "&" shows as one) and its command
    // id, under which the tooltip table answers its tooltip.
    void addButtons(QToolBar* toolBar) const;
    // Enables or disables the action of every button that is not a separator.
    void enableButtons(QToolBar* toolBar, bool enable) const;
    // The button an action of addButtons stands for; null for any other action.
    static const ToolbarButton* buttonOf(const QAction* action);

    // The button's picture at its own size (16 x 15) with its top-left
    // corner at (x, y); the strip's mask colour leaves the background showing.
    void drawImage(const ToolbarButton& record, QPainter& painter, int x, int y) const;
    // The same picture scaled into the rectangle (marks on paper).
    void showImage(const ToolbarButton& record, QPainter& painter, int x, int y, int width, int height) const;
    // The picture of an image index, transparent where the strip has its
    // mask colour; empty for an index outside the strip.
    QImage image(int index) const;

private:
    kova::IconImageList strip_;
    std::deque<ToolbarButton> buttons_;
};
