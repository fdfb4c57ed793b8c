#include "transfer/TastenButton.h"

#include <QKeyEvent>

#include "transfer/KeyboardDialog.h"

// ------------------------------------------------------------ CTastenButton

CTastenButton::CTastenButton(const QString& text, CBetriebstastaturDlg* dialog, bool wantsAllKeys)
    : QPushButton(text, dialog), m_dialog(dialog), m_wantsAllKeys(wantsAllKeys)
{
    setAutoDefault(false);
}

void CTastenButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape) {
        // Focus moves and the dialog closes as in any dialog.
        event->ignore();
        return;
    }
    if (key == Qt::Key_Space) {
        // With Shift or Ctrl, or when the button is already held down by
        // Space, Space presses the button; otherwise it is the module's Space.
        if ((mods & (Qt::ShiftModifier | Qt::ControlModifier)) || isDown()) {
            QPushButton::keyPressEvent(event);
            return;
        }
        m_dialog->SendKey(0x20);
        event->accept();
        return;
    }
    if (IsNavigationKey(key)) {
        if (m_wantsAllKeys) {
            m_dialog->OnKeyDown(key, mods);
            event->accept();
        } else {
            QPushButton::keyPressEvent(event);
        }
        return;
    }
    if (!m_wantsAllKeys && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    int c = TypedCharacter(*event);
    if (c >= 0) {
        m_dialog->OnChar(c);
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CTastenButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !isDown()) {
        // The release of a Space that went to the module.
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

