#pragma once
#include <QDialog>
#include <QLineEdit>
#include <string>

#include "texts/TextDialogRules.h"

class QFont;
class QLabel;

// Shared frame of the text dialogs: OK runs the checks in order, shows the
// first failure in a message box and puts the focus on its field.
class CTextDialogBase : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;
    // The widget a control id stands for (for the focus after a failed check).
    virtual QWidget* Control(int id) const = 0;
    // Runs the checks and stores on success; false keeps the dialog open.
    virtual bool Commit() = 0;
    // The last check that failed (for tests), empty after success.
    const DialogCheck& LastCheck() const { return m_last; }

public slots:
    void accept() override;

protected:
    bool Refuse(const DialogCheck& check);
    void AddButtons(class QGridLayout* grid, int row);
    // The identifier of a group or list: the fixed prefix letter, read-only,
    // directly before the three typed characters. Returns the row holding both.
    class QHBoxLayout* MakeIdentifierRow(QLineEdit*& prefix, QLineEdit*& id, const QString& prefixText,
                                         const QString& idText);
    // The 32-character name in the text font.
    QLineEdit* MakeNameEdit(const QString& text);
    DialogCheck m_last;
};

namespace textdlg {
// The display font of texts: the Cyrillic one when that character set is active.
const QFont& TextFont();
// A label whose mnemonic moves the focus to buddy.
QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent);
}  // namespace textdlg
