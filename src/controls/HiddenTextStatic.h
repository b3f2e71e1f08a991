#pragma once
// The label beside a bitmap button: it shows its caption, but reading its text
// back gives an empty string unless show-text is set, so code that collects a
// dialog's texts (translation, fitting) leaves the button's caption alone.

#include <QString>
#include <QWidget>

namespace kova {

class HiddenTextStatic : public QWidget {
    Q_OBJECT
    // The window text as other code reads it; see text().
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit HiddenTextStatic(QWidget* parent = nullptr);

    // Empty unless show-text is set.
    QString text() const;
    void setText(const QString& text);
    // The caption as drawn, whatever the flag.
    const QString& caption() const { return caption_; }

    void setShowText(bool show) { showText_ = show; }
    bool showText() const { return showText_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    bool showText_ = false;
};

} // namespace kova
