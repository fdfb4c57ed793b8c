#pragma once
#include <QPushButton>

class CBetriebstastaturDlg;

// A key button of the operator keyboard: typed characters, the navigation
// keys and a plain Space go to the dialog and are sent, so that the whole
// keyboard of the PC works while a button has the focus. Tab still moves
// the focus and Esc closes the dialog. The close button forwards characters
// and Space too, but leaves the arrows and Enter to their normal use.
class CTastenButton : public QPushButton {
    Q_OBJECT
public:
    CTastenButton(const QString& text, CBetriebstastaturDlg* dialog, bool wantsAllKeys);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    CBetriebstastaturDlg* m_dialog;
    bool m_wantsAllKeys;
};
