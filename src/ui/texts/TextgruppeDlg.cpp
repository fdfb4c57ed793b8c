#include "texts/TextgruppeDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/QtUserInteraction.h"
#include "app/Resources.h"
#include "texts/SpaceEdit.h"
#include "texts/StandardTextListe.h"
#include "texts/Textgruppe.h"
#include "util/Charset.h"
#include "util/UserInteraction.h"

using namespace textdlg;

// ------------------------------------------------------------ dialog 141

CTextgruppeDlg::CTextgruppeDlg(CTextgruppe& group, CCategory* category, bool isNew, QWidget* parent)
    : CTextDialogBase(parent), m_node(group), m_category(category), m_isNew(isNew)
{
    setWindowTitle(isNew ? QStringLiteral("Neue Textgruppe") : LoadQString(63213));
    TextgruppeForm form = TextgruppeFormFrom(group);
    QHBoxLayout* idRow = MakeIdentifierRow(m_prefix, m_id, QString::fromStdString(form.prefix), FromDisplay(form.identifier));
    m_name = MakeNameEdit(FromDisplay(form.name));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label(QStringLiteral("Textgruppen-Kennung: "), m_id, this), 0, 0);
    grid->addLayout(idRow, 0, 1);
    grid->addWidget(Label(QStringLiteral("Textgruppen-Bezeichnung:"), m_name, this), 1, 0);
    grid->addWidget(m_name, 1, 1);
    AddButtons(grid, 2);
    setTabOrder(m_id, m_name);
    m_id->setFocus();
}

QWidget* CTextgruppeDlg::Control(int id) const
{
    switch (id) {
    case textctl::GroupPrefix: return m_prefix;
    case textctl::GroupId: return m_id;
    case textctl::GroupName: return m_name;
    default: return nullptr;
    }
}

bool CTextgruppeDlg::Commit()
{
    TextgruppeForm form;
    form.prefix = ToDisplay(m_prefix->text());
    form.identifier = ToDisplay(m_id->text());
    form.name = ToDisplay(m_name->text());
    DialogCheck check = CheckTextgruppeForm(form, m_node, m_category);
    if (!check.ok) return Refuse(check);
    return ApplyTextgruppeForm(m_node, form, m_isNew, App().Ui());
}

