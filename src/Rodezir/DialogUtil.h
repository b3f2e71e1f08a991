#pragma once
// Creating dialogs so they fit the screen: a dialog that would take more than
// 80 % of the work area's width or height is built with the small dialog font.
// Also putting a window of the station's own in the place of a placeholder
// control of a dialog.

#include "Rodezir/Geometry.h"
#include "Rodezir/dialogs/DialogTemplate.h"
#include "Rodezir/dialogs/TemplateDialog.h"

#include <functional>
#include <memory>

class QWidget;

namespace kova {

// What the small-font rule depends on, worked out once per run by the fonts helper.
struct SmallFontFacts {
    bool nonAnsiCharset = false;
    bool smallFontsInstalled = false;
    static SmallFontFacts ofSystem();
};

inline constexpr const char* SMALL_FONT_FACE = "Small Fonts";
inline constexpr int SMALL_FONT_POINTS = 7;
// A dialog larger than this share of the work area's width or height gets the small font.
inline constexpr double SCREEN_SHARE_LIMIT = 0.8;

// Outside the Western character set only the size becomes 7 points; in it the
// face becomes "Small Fonts" at 7 points when that face exists; otherwise the
// template stays as it is.
void applySmallDialogFont(DialogTemplate& dialogTemplate);
void applySmallDialogFont(DialogTemplate& dialogTemplate, const SmallFontFacts& facts);

// Strictly more than 80 % of the work area's width or height.
bool isTooLargeForWorkArea(SIZE dialogPixels, const RECT& workArea);

// The template of `templateId` in pixels of its own font against the work
// area, with the small-font rule applied when it is too large; empty when the
// program has no such dialog.
DialogTemplate templateFittingScreen(int templateId, const RECT& workArea, const SmallFontFacts& facts);

// Makes the dialog object from its (possibly changed) template.
using DialogFactory = std::function<std::unique_ptr<TemplateDialog>(const DialogTemplate&, QWidget* parent)>;

template <class Dialog>
DialogFactory dialogFactory()
{
    return [](const DialogTemplate& dialogTemplate, QWidget* parent) -> std::unique_ptr<TemplateDialog> {
        return std::make_unique<Dialog>(dialogTemplate, parent);
    };
}

// Modeless: the created dialog (shown when its template is visible), or null
// when the template is missing or the dialog could not be built.
std::unique_ptr<TemplateDialog> createDialogWithSmallFont(const DialogFactory& factory, int templateId, QWidget* parent);
std::unique_ptr<TemplateDialog> createDialogFittingScreen(const DialogFactory& factory, int templateId, QWidget* parent);
// Modal: the dialog's result, or IDCANCEL (2) when the template could not be used.
int doModalWithSmallFont(const DialogFactory& factory, int templateId, QWidget* parent);
int doModalFittingScreen(const DialogFactory& factory, int templateId, QWidget* parent);

// Puts `newWindow` into the placeholder's parent at the placeholder's
// rectangle with the id, the placeholder's visibility and tab stop, and the
// window text "c". False for a null placeholder or window.
bool replaceControl(QWidget* placeholder, QWidget* newWindow, int id);

} // namespace kova
