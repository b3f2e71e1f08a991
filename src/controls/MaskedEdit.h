#pragma once
// A one-line edit whose text follows a mask of literal and input positions
// (for example "##:##" for a time): the user types only into the input
// positions, each of which takes one kind of character; refused input beeps
// and leaves the text as it was. The control keeps the positions itself and
// rewrites the shown text from them after every change.

#include "controls/MaskData.h"

#include <QLineEdit>
#include <QList>

namespace kova {

class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(const QString& mask = QString(), QWidget* parent = nullptr);

    // Takes the place of the dialog's edit of that id; null when there is none.
    static MaskedEdit* attach(QWidget* parentDialog, int controlId, const QString& mask);

    void SetMask(const QString& pszMask);
    QString GetMask() const;
    // The characters of the input positions only (the prompt where empty).
    QString GetInputChars() const;
    // The characters of all positions, as shown.
    QString GetDisplayText() const;

    // Fills the input positions from the first `keep` input characters followed
    // by `text` (without its prompt characters unless `raw`); true when every
    // character was taken.
    bool SetInputText(const QString& text, int keep = 0, bool raw = false);

    void SetInsertMode(bool insert) { m_bInsertMode = insert; }
    bool GetInsertMode() const { return m_bInsertMode; }
    void SetPromptChar(QChar newPrompt);
    QChar GetPromptChar() const { return m_chPrompt; }
    // With `inputsOnly`, empties every input position; without, drops the
    // mask, after which the control is a plain edit.
    void ClearInput(bool inputsOnly = true);

    // Positions count over the whole mask.
    bool IsInputPosition(int index) const;
    int NextInputPosition(int index) const;
    int PrevInputPosition(int index) const;
    int FirstEmptyPosition(int index) const;
    int positionCount() const { return static_cast<int>(m_listData.size()); }
    const MaskData& position(int index) const { return m_listData.at(index); }

    // Rewrites the shown text; with an index of 0 or more, puts the caret on
    // the input position at or after it.
    void RefreshText(int caret);

    // The editing steps the keys are made of (see the key handlers).
    int InsertCharAt(int index, QChar character);
    int PutCharAt(int index, QChar character);
    int DeleteRange(int start, int end);

    // The clipboard commands: cut, delete the selection, paste.
    void cutSelection();
    void clearSelection();
    void pasteText(const QString& pasted);
    void pasteClipboard();

    // Locale separators in force for new masks.
    QChar thousandsSeparator() const { return m_chThousandsSeparator; }
    QChar timeSeparator() const { return m_chTimeSeparator; }
    QChar dateSeparator() const { return m_chDateSeparator; }

    // Called for every refused key or character: beeps.
    virtual void OnInputError();
    // Asked when the control loses the focus; false keeps the focus here.
    virtual bool OnCheckInput();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Selection {
        int start;
        int end;
    };
    Selection selection() const;
    void setCaret(int index);
    void onCharacter(QChar character, const Selection& selection);
    void onBackspace(const Selection& selection);
    void onDelete(const Selection& selection);
    void readLocaleSeparators();

    QList<MaskData> m_listData;
    bool m_bInsertMode = true;
    QChar m_chPrompt = QLatin1Char(' ');
    QChar m_chDecimalSeparator = QLatin1Char('.');
    QChar m_chThousandsSeparator = QLatin1Char(',');
    QChar m_chTimeSeparator = QLatin1Char(':');
    QChar m_chDateSeparator = QLatin1Char('/');
};

} // namespace kova
