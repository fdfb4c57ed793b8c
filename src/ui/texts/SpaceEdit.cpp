#include "texts/SpaceEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "app/QtUserInteraction.h"

namespace {
QString Shown(QString s) { return s.replace(QLatin1Char(' '), QLatin1Char('_')); }
QString Read(QString s) { return s.replace(QLatin1Char('_'), QLatin1Char(' ')); }
}  // namespace

CSpaceEdit::CSpaceEdit(QWidget* parent) : QLineEdit(parent)
{
    // Drops would bypass the conversion.
    setAcceptDrops(false);
    setDragEnabled(false);
}

void CSpaceEdit::SetText(const QString& text) { setText(Shown(text)); }

QString CSpaceEdit::Text() const { return Read(text()); }

void CSpaceEdit::Copy()
{
    QString s = hasSelectedText() ? selectedText() : text();
    QApplication::clipboard()->setText(Read(s));
}

void CSpaceEdit::Cut()
{
    Copy();
    if (!isReadOnly() && hasSelectedText()) del();
}

void CSpaceEdit::Paste()
{
    if (isReadOnly()) return;
    // Only what the display code page can hold arrives in the box.
    QString s = FromDisplay(ToDisplay(QApplication::clipboard()->text()));
    s.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    insert(Shown(s));
}

void CSpaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    if (event->key() == Qt::Key_Space && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!isReadOnly()) insert(QStringLiteral("_"));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CSpaceEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* undoAct = menu.addAction(QStringLiteral("&Rückgängig"), this, &QLineEdit::undo);
    undoAct->setEnabled(isUndoAvailable() && !isReadOnly());
    menu.addSeparator();
    QAction* cutAct = menu.addAction(QStringLiteral("&Ausschneiden"), this, &CSpaceEdit::Cut);
    cutAct->setEnabled(!isReadOnly() && hasSelectedText());
    menu.addAction(QStringLiteral("&Kopieren"), this, &CSpaceEdit::Copy);
    QAction* pasteAct = menu.addAction(QStringLiteral("&Einfügen"), this, &CSpaceEdit::Paste);
    pasteAct->setEnabled(!isReadOnly() && !QApplication::clipboard()->text().isEmpty());
    QAction* delAct = menu.addAction(QStringLiteral("&Löschen"), this, &QLineEdit::del);
    delAct->setEnabled(!isReadOnly() && hasSelectedText());
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Alles markieren"), this, &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}
