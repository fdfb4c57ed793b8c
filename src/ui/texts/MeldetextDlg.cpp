#include "texts/MeldetextDlg.h"

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

// ------------------------------------------------------------ dialog 147

CMeldetextDlg::CMeldetextDlg(CMeldetext& text, CTextliste* list, bool isNew, QWidget* parent)
    : CTextDialogBase(parent), m_node(text), m_list(list)
{
    setWindowTitle(isNew ? QStringLiteral("Neuer Meldetext") : LoadQString(63211));
    MeldetextForm form = MeldetextFormFrom(text, list);

    m_db = new QLineEdit(QString::fromStdString(form.db), this);
    m_db->setEnabled(false);
    m_dw = new CUpDownEdit(this);
    m_dw->SetRange(0, App().Settings().maxDwNumber);
    m_dw->Edit()->setText(QString::fromStdString(form.dw));
    m_bit = new CUpDownEdit(this);
    m_bit->SetDigitsOnly();
    m_bit->SetRange(0, 15);
    m_bit->Edit()->setText(QString::fromStdString(form.bit));
    m_mode = new QComboBox(this);
    for (const std::string& item : ProtocolModeItems()) m_mode->addItem(QString::fromStdString(item));
    m_mode->setCurrentIndex(form.modeIndex);
    m_number = new CUpDownEdit(this);
    m_number->SetDigitsOnly();
    m_number->SetRange(1, 30);
    m_number->Edit()->setText(QString::fromStdString(form.protocolNumber));
    m_number->SetActive(ProtocolNumberEnabled(form.modeIndex));
    m_text = new CSpaceEdit(this);
    m_text->setMaxLength(static_cast<int>(kMaxMeldetextLength));
    m_text->setFont(TextFont());
    m_text->SetText(FromDisplay(form.text));
    m_text->setMinimumWidth(480);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label(QStringLiteral("DB-Nummer:"), m_db, this), 0, 0);
    grid->addWidget(m_db, 0, 1);
    grid->addWidget(Label(QStringLiteral("DW-Nummer:"), m_dw, this), 1, 0);
    grid->addWidget(m_dw, 1, 1);
    grid->addWidget(Label(QStringLiteral("Bit:"), m_bit, this), 2, 0);
    grid->addWidget(m_bit, 2, 1);
    grid->addWidget(Label(QStringLiteral("Protokoll-BA:"), m_mode, this), 3, 0);
    grid->addWidget(m_mode, 3, 1);
    grid->addWidget(Label(QStringLiteral("Protokoll-Nr:"), m_number, this), 4, 0);
    grid->addWidget(m_number, 4, 1);
    grid->addWidget(Label(QStringLiteral("Text:"), m_text, this), 5, 0);
    grid->addWidget(m_text, 5, 1, 1, 2);
    AddButtons(grid, 6);
    setTabOrder(m_dw->Edit(), m_bit->Edit());
    setTabOrder(m_bit->Edit(), m_mode);
    setTabOrder(m_mode, m_number->Edit());
    setTabOrder(m_number->Edit(), m_text);
    m_dw->Edit()->setFocus();

    connect(m_mode, &QComboBox::currentIndexChanged, this, &CMeldetextDlg::OnModeChanged);
}

void CMeldetextDlg::OnModeChanged(int index)
{
    bool wasEnabled = m_number->Edit()->isEnabled();
    std::string shown = ProtocolNumberAfterModeChange(index, wasEnabled, m_number->Edit()->text().toStdString());
    m_number->Edit()->setText(QString::fromStdString(shown));
    m_number->SetActive(ProtocolNumberEnabled(index));
}

QWidget* CMeldetextDlg::Control(int id) const
{
    switch (id) {
    case textctl::DB: return m_db;
    case textctl::DW: return m_dw->Edit();
    case textctl::Bit: return m_bit->Edit();
    case textctl::Mode: return m_mode;
    case textctl::ProtocolNumber: return m_number->Edit();
    case textctl::Text: return m_text;
    default: return nullptr;
    }
}

bool CMeldetextDlg::Commit()
{
    MeldetextForm form;
    form.db = m_db->text().toStdString();
    form.dw = m_dw->Edit()->text().toStdString();
    form.bit = m_bit->Edit()->text().toStdString();
    form.protocolNumber = m_number->Edit()->text().toStdString();
    form.modeIndex = m_mode->currentIndex();
    form.text = ToDisplay(m_text->Text());
    CMeldetext values(nullptr);
    DialogCheck check = CheckMeldetextForm(form, m_list, &m_node, App().Settings().maxDwNumber, values);
    if (!check.ok) return Refuse(check);
    ApplyMeldetext(m_node, values, m_list);
    return true;
}

