#include "texts/TextDialogs.h"

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

namespace {
const QFont& TextFont() { return App().IsCyrillic() ? res::CyrillicFont() : res::StandardFont(); }

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}
}  // namespace

// ------------------------------------------------------------ CUpDownEdit

CUpDownEdit::CUpDownEdit(QWidget* parent) : QWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
    }
    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(m_edit);
    row->addLayout(arrows);
    setFocusProxy(m_edit);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    m_edit->installEventFilter(this);
}

void CUpDownEdit::SetRange(int lo, int hi)
{
    m_lo = lo;
    m_hi = hi;
}

void CUpDownEdit::Step(int delta)
{
    if (!m_edit->isEnabled()) return;
    long v = 0;
    if (!ParseDialogInt(m_edit->text().toStdString(), v)) v = m_lo;
    else v += delta;
    if (v < m_lo) v = m_lo;
    if (v > m_hi) v = m_hi;
    m_edit->setText(QString::number(v));
}

void CUpDownEdit::SetDigitsOnly()
{
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
}

void CUpDownEdit::SetActive(bool on)
{
    m_edit->setEnabled(on);
    m_up->setEnabled(on);
    m_down->setEnabled(on);
}

bool CUpDownEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
            Step(k->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

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
