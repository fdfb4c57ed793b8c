#include "texts/TextDialogBase.h"

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

// ------------------------------------------------------------ CTextDialogBase

void CTextDialogBase::accept()
{
    if (Commit()) {
        m_last = DialogCheck::Pass();
        QDialog::accept();
    }
}

bool CTextDialogBase::Refuse(const DialogCheck& check)
{
    m_last = check;
    App().Ui().MessageBox(check.message, check.style);
    if (QWidget* w = Control(check.control)) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    }
    return false;
}

QHBoxLayout* CTextDialogBase::MakeIdentifierRow(QLineEdit*& prefix, QLineEdit*& id, const QString& prefixText,
                                                const QString& idText)
{
    prefix = new QLineEdit(prefixText, this);
    prefix->setReadOnly(true);
    prefix->setMaxLength(1);
    prefix->setFocusPolicy(Qt::NoFocus);
    prefix->setMaximumWidth(24);
    id = new QLineEdit(idText, this);
    id->setMaxLength(3);
    id->setMaximumWidth(60);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(prefix);
    row->addWidget(id);
    row->addStretch();
    return row;
}

QLineEdit* CTextDialogBase::MakeNameEdit(const QString& text)
{
    auto* edit = new QLineEdit(text, this);
    edit->setMaxLength(static_cast<int>(kTextNameWidth));
    edit->setFont(TextFont());
    edit->setMinimumWidth(320);
    return edit;
}

void CTextDialogBase::AddButtons(QGridLayout* grid, int row)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CTextDialogBase::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, grid->columnCount() > 0 ? grid->columnCount() : 2);
}


const QFont& textdlg::TextFont() { return App().IsCyrillic() ? res::CyrillicFont() : res::StandardFont(); }

QLabel* textdlg::Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

