#pragma once
#include <QString>
#include <string>

#include "util/UserInteraction.h"

class QWidget;

// Message boxes of the desktop program. Texts arrive as display bytes and are
// shown in the code page of the current character set; the buttons carry the
// German standard texts of the loaded Qt translation.
class CQtUserInteraction : public IUserInteraction {
public:
    int MessageBox(const std::string& text, unsigned style) override;
};

// Display bytes (Windows-1252, or 1251 under the Cyrillic character set) to a QString.
QString FromDisplay(const std::string& bytes);
std::string ToDisplay(const QString& text);
// A string-table text as QString.
QString LoadQString(int id);

// The widget that should own a message box: the active modal dialog, else the
// active window, else the main window.
QWidget* DialogParent();
