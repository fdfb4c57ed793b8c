#pragma once
#include <QLineEdit>

// A single-line edit that never shows a blank: every space is displayed as
// "_" and every "_" reads back as a space, so that trailing and double
// blanks of message texts stay visible. Copy, cut and paste on the keyboard
// and in the context menu go through the same conversion.
class CSpaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CSpaceEdit(QWidget* parent = nullptr);

    // The text with spaces; shown with "_".
    void SetText(const QString& text);
    QString Text() const;

    void Copy();
    void Cut();
    void Paste();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
