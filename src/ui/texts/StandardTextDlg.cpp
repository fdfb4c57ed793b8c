#include "texts/StandardTextDlg.h"

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

// ------------------------------------------------------------ dialog 163

CStandardTextDlg::CStandardTextDlg(CStandardText& text, CStandardTextListe* list, bool isNew, QWidget* parent)
    : CTextDialogBase(parent), m_node(text), m_list(list)
{
    setWindowTitle(isNew ? QStringLiteral("Neuer Standard-Text Eintrag") : LoadQString(63254));
    m_at = new QLineEdit(QStringLiteral("@"), this);
    m_at->setEnabled(false);
    m_at->setMaximumWidth(24);
    m_number = new CUpDownEdit(this);
    m_number->SetRange(1, 255);
    m_number->Edit()->setText(QString::number(text.m_number));
    m_number->SetActive(false);
    m_text = new CSpaceEdit(this);
    m_text->setMaxLength(static_cast<int>(kMaxStandardTextLength));
    m_text->setFont(TextFont());
    m_text->SetText(FromDisplay(ToDisplayCharset(text.m_text)));
    m_text->setMinimumWidth(460);

    auto* grid = new QGridLayout(this);
    auto* number = new QHBoxLayout;
    number->addWidget(m_at);
    number->addWidget(m_number);
    number->addStretch();
    grid->addWidget(Label(QStringLiteral("Nummer"), m_number, this), 0, 0);
    grid->addLayout(number, 0, 1);
    grid->addWidget(Label(QStringLiteral("Text:"), m_text, this), 1, 0);
    grid->addWidget(m_text, 1, 1);
    AddButtons(grid, 2);
    m_text->setFocus();
}

QWidget* CStandardTextDlg::Control(int id) const
{
    if (id == textctl::StdNumber) return m_number->Edit();
    if (id == textctl::StdText) return m_text;
    return nullptr;
}

bool CStandardTextDlg::Commit()
{
    std::string device;
    DialogCheck check = CheckStandardTextForm(m_number->Edit()->text().toStdString(), ToDisplay(m_text->Text()), device);
    if (!check.ok) return Refuse(check);
    m_node.SetText(device);
    if (m_list && m_list->IndexOf(&m_node) >= 0) m_list->ChildChanged(&m_node);
    return true;
}

