#pragma once
#include <QDialog>
#include <QLineEdit>
#include <string>

#include "texts/TextDialogRules.h"

#include "texts/TextDialogBase.h"

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
