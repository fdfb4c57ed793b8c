#pragma once
#include "texts/TextDialogBase.h"

class CTextgruppe;
class CCategory;

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
