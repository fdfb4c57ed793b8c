#pragma once
#include "texts/TextDialogBase.h"

class CTextgruppe;
class CTextliste;

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
