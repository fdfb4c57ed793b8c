#pragma once
#include <QPlainTextEdit>

class CBetriebstastaturDlg;

// The log of the codes sent. Typed characters and the navigation keys go to
// the dialog; every other key edits the log as usual.
class CTastenEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CTastenEdit(CBetriebstastaturDlg* dialog);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CBetriebstastaturDlg* m_dialog;
};
