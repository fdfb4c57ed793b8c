#include "app/QtUserInteraction.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "app/Application.h"
#include "util/Charset.h"
#include "util/StringTable.h"

QString FromDisplay(const std::string& bytes)
{
    return QString::fromStdString(DisplayToUtf8(bytes, App().IsCyrillic()));
}

std::string ToDisplay(const QString& text) { return Utf8ToDisplay(text.toStdString(), App().IsCyrillic()); }

QString LoadQString(int id) { return QString::fromStdString(Cp1252ToUtf8(LoadString(id))); }

QWidget* DialogParent()
{
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("CMainFrame")) return w;
    return nullptr;
}

int CQtUserInteraction::MessageBox(const std::string& text, unsigned style)
{
    QMessageBox box(DialogParent());
    box.setWindowTitle(QStringLiteral("PX920Win"));
    box.setText(FromDisplay(text));
    switch (style & mb::ICONMASK) {
    case mb::ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case mb::ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case mb::ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case mb::ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (style & mb::TYPEMASK) {
    case mb::OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case mb::YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case mb::YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default:
        // Closing a box with the window's close button: the escape answer.
        if ((style & mb::TYPEMASK) == mb::YESNO) return IDNO;
        return (style & mb::TYPEMASK) == mb::OK ? IDOK : IDCANCEL;
    }
}
