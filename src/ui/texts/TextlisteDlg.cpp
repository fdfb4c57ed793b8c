#include "texts/TextlisteDlg.h"

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

// ------------------------------------------------------------ dialog 140

CTextlisteDlg::CTextlisteDlg(CTextliste& list, CTextgruppe* group, bool isNew, QWidget* parent)
    : CTextDialogBase(parent), m_node(list), m_group(group), m_isNew(isNew)
{
    setWindowTitle(isNew ? QStringLiteral("Neue Textliste") : LoadQString(63212));
    TextlisteForm form = TextlisteFormFrom(list);
    QHBoxLayout* idRow = MakeIdentifierRow(m_prefix, m_id, QString::fromStdString(form.prefix), FromDisplay(form.identifier));
    m_db = new QLineEdit(QString::fromStdString(form.db), this);
    m_db->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_db));
    m_db->setMaximumWidth(60);
    m_name = MakeNameEdit(FromDisplay(form.name));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label(QStringLiteral("Textlisten-Kennung: "), m_id, this), 0, 0);
    grid->addLayout(idRow, 0, 1);
    grid->addWidget(Label(QStringLiteral("DB-Nummer:"), m_db, this), 1, 0);
    grid->addWidget(m_db, 1, 1);
    grid->addWidget(Label(QStringLiteral("Textlisten-Bezeichnung:"), m_name, this), 2, 0);
    grid->addWidget(m_name, 2, 1);
    AddButtons(grid, 3);
    setTabOrder(m_id, m_db);
    setTabOrder(m_db, m_name);
    m_id->setFocus();
}

QWidget* CTextlisteDlg::Control(int id) const
{
    switch (id) {
    case textctl::ListPrefix: return m_prefix;
    case textctl::ListId: return m_id;
    case textctl::ListDb: return m_db;
    case textctl::ListName: return m_name;
    default: return nullptr;
    }
}

bool CTextlisteDlg::Commit()
{
    TextlisteForm form;
    form.prefix = ToDisplay(m_prefix->text());
    form.identifier = ToDisplay(m_id->text());
    form.db = m_db->text().toStdString();
    form.name = ToDisplay(m_name->text());
    long db = 0;
    DialogCheck check = CheckTextlisteForm(form, m_node, m_group, db);
    if (!check.ok) return Refuse(check);
    return ApplyTextlisteForm(m_node, m_group, form, db, m_isNew, App().Ui());
}
