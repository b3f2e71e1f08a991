#pragma once
// The question put when a session that is not stored yet is closed: store
// it in the database, discard it, review it first, or keep it open. A plain
// modal dialog (template 226) over the session's window; the caller reads
// the answer afterwards.

#include "Rodezir/dialogs/TemplateDialog.h"

#include <string>

namespace kova {
class RoundButton;
}

class SaveSessionDialog : public kova::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 226;
    static constexpr int IDC_YES = 1; // IDOK
    static constexpr int IDC_NO = 1297;
    static constexpr int IDC_REVIEW = 4;
    static constexpr int IDC_CANCEL = 2; // IDCANCEL
    static constexpr int IDC_QUESTION = 1283;

    // What the instructor chose; all false until a button is pressed, and
    // after Cancel or Escape.
    struct Answer {
        bool review = false;
        bool save = false;
        bool close = false;
        friend bool operator==(const Answer&, const Answer&) = default;
    };

    // The session's name appears in the question as it stands. "&Review" is
    // enabled only when a review is allowed (the session is not collecting).
    SaveSessionDialog(const std::wstring& sessionName, bool reviewAllowed, QWidget* parent = nullptr);

    const Answer& answer() const { return answer_; }

    // The question with the session's name in it, translated.
    static QString questionText(const std::wstring& sessionName);
    // Puts template 226 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void finish(const Answer& answer, int result);

    std::wstring sessionName_;
    bool reviewAllowed_;
    Answer answer_;
};
