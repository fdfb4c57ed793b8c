#include "texts/UpDownEdit.h"

#include "texts/TextDialogRules.h"

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

