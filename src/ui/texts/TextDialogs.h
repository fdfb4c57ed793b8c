#pragma once
#include <QDialog>
#include <QLineEdit>
#include <string>

#include "texts/TextDialogRules.h"

class QComboBox;
class QLabel;
class QToolButton;
class CSpaceEdit;
class CMeldetext;
class CStandardText;
class CStandardTextListe;
class CTextgruppe;
class CTextliste;
class CCategory;
struct DialogCheck;

// An edit box with an up-down control beside it (and on the arrow keys):
// the buttons step the number within the range; what is typed is checked
// only on OK, like every other field.
class CUpDownEdit : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownEdit(QWidget* parent = nullptr);
    QLineEdit* Edit() const { return m_edit; }
    void SetRange(int lo, int hi);
    void Step(int delta);
    void SetDigitsOnly();
    // Enables or disables the box together with its buttons.
    void SetActive(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lo = 0, m_hi = 0;
};

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

// Dialog 147: "Neuer Meldetext" / "Meldetext Parametrierung".
class CMeldetextDlg : public CTextDialogBase {
    Q_OBJECT
public:
    // text: the node edited (a new one is not yet in list); list: its text list.
    CMeldetextDlg(CMeldetext& text, CTextliste* list, bool isNew, QWidget* parent = nullptr);
    QWidget* Control(int id) const override;
    bool Commit() override;

    QLineEdit* DbEdit() const { return m_db; }
    CUpDownEdit* DwEdit() const { return m_dw; }
    CUpDownEdit* BitEdit() const { return m_bit; }
    QComboBox* ModeBox() const { return m_mode; }
    CUpDownEdit* NumberEdit() const { return m_number; }
    CSpaceEdit* TextEdit() const { return m_text; }

private:
    void OnModeChanged(int index);
    CMeldetext& m_node;
    CTextliste* m_list;
    QLineEdit* m_db;
    CUpDownEdit* m_dw;
    CUpDownEdit* m_bit;
    QComboBox* m_mode;
    CUpDownEdit* m_number;
    CSpaceEdit* m_text;
};

// Dialog 163: "Neuer Standard-Text Eintrag" / "Bearbeitung Standard-Text Eintrag".
class CStandardTextDlg : public CTextDialogBase {
    Q_OBJECT
public:
    CStandardTextDlg(CStandardText& text, CStandardTextListe* list, bool isNew, QWidget* parent = nullptr);
    QWidget* Control(int id) const override;
    bool Commit() override;

    CUpDownEdit* NumberEdit() const { return m_number; }
    CSpaceEdit* TextEdit() const { return m_text; }

private:
    CStandardText& m_node;
    CStandardTextListe* m_list;
    QLineEdit* m_at;
    CUpDownEdit* m_number;
    CSpaceEdit* m_text;
};

// Dialog 141: "Neue Textgruppe" / "Eigenschaften Textgruppe".
class CTextgruppeDlg : public CTextDialogBase {
    Q_OBJECT
public:
    CTextgruppeDlg(CTextgruppe& group, CCategory* category, bool isNew, QWidget* parent = nullptr);
    QWidget* Control(int id) const override;
    bool Commit() override;

    QLineEdit* IdEdit() const { return m_id; }
    QLineEdit* NameEdit() const { return m_name; }

private:
    CTextgruppe& m_node;
    CCategory* m_category;
    bool m_isNew;
    QLineEdit* m_prefix;
    QLineEdit* m_id;
    QLineEdit* m_name;
};

// Dialog 140: "Neue Textliste" / "Eigenschaften Textliste".
class CTextlisteDlg : public CTextDialogBase {
    Q_OBJECT
public:
    CTextlisteDlg(CTextliste& list, CTextgruppe* group, bool isNew, QWidget* parent = nullptr);
    QWidget* Control(int id) const override;
    bool Commit() override;

    QLineEdit* IdEdit() const { return m_id; }
    QLineEdit* DbEdit() const { return m_db; }
    QLineEdit* NameEdit() const { return m_name; }

private:
    CTextliste& m_node;
    CTextgruppe* m_group;
    bool m_isNew;
    QLineEdit* m_prefix;
    QLineEdit* m_id;
    QLineEdit* m_db;
    QLineEdit* m_name;
};

// Registers "Neu" and "Eigenschaften" of the text kinds with the list view.
void RegisterTextUiHandlers();
