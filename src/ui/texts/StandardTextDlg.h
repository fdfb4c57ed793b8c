#pragma once
#include "texts/TextDialogBase.h"
#include "texts/UpDownEdit.h"

class CSpaceEdit;
class CStandardText;
class CStandardTextListe;

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
