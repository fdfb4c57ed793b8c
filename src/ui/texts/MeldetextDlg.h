#pragma once
#include "texts/TextDialogBase.h"
#include "texts/UpDownEdit.h"

class QComboBox;
class CSpaceEdit;
class CMeldetext;
class CTextliste;

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
