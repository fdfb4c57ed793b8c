#include "transfer/TastenEdit.h"

#include <QKeyEvent>

#include "transfer/KeyboardDialog.h"

// ------------------------------------------------------------ CTastenEdit

CTastenEdit::CTastenEdit(CBetriebstastaturDlg* dialog) : QPlainTextEdit(dialog), m_dialog(dialog)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void CTastenEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (IsNavigationKey(key)) {
        m_dialog->OnKeyDown(key, event->modifiers());
        event->accept();
        return;
    }
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Escape) {
        int c = TypedCharacter(*event);
        if (c >= 0 && c < 127) {
            m_dialog->OnChar(c);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

