#include "app/StatusBar.h"

#include <QFontMetrics>
#include <QLabel>

#include "app/QtUserInteraction.h"

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanes; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setContentsMargins(3, 0, 3, 0);
        m_panes[i] = label;
        addWidget(label);
    }
    m_texts[0] = LoadQString(64229);
    for (int i = 0; i < kPanes; ++i) ShowPane(i);
}

void CStatusBar::ShowPane(int pane)
{
    QLabel* label = m_panes[pane];
    const QString& text = m_texts[pane];
    if (text.isEmpty()) {
        // An empty pane takes no room and shows no borders.
        label->clear();
        label->setFrameStyle(QFrame::NoFrame);
        label->setFixedWidth(0);
        label->setEnabled(false);
        label->hide();
        return;
    }
    QFontMetrics fm(label->font());
    int minimum = pane == 0 ? 32 * fm.averageCharWidth() : 3 * fm.maxWidth();
    int width = std::max(fm.horizontalAdvance(text), minimum);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setEnabled(true);
    label->setText(text);
    label->setFixedWidth(width + label->contentsMargins().left() + label->contentsMargins().right() +
                         2 * label->frameWidth());
    label->show();
}

void CStatusBar::SetPaneText(int pane, const QString& text)
{
    if (pane < 0 || pane >= kPanes) return;
    m_texts[pane] = text;
    if (m_menuMode) return;
    ShowPane(pane);
}

void CStatusBar::SetPaneTexts(const std::array<QString, kPanes>& texts)
{
    for (int i = 0; i < kPanes; ++i) SetPaneText(i, i == 0 && texts[0].isEmpty() ? LoadQString(64229) : texts[i]);
    repaint();
}

bool CStatusBar::IsPaneVisible(int pane) const
{
    return pane >= 0 && pane < kPanes && !m_menuMode && !m_panes[pane]->isHidden();
}

int CStatusBar::PaneWidth(int pane) const { return pane >= 0 && pane < kPanes ? m_panes[pane]->width() : 0; }

void CStatusBar::SetMenuMode(bool on)
{
    if (on == m_menuMode) return;
    m_menuMode = on;
    if (on) {
        // One pane for the menu prompts: the panes give way to the message area.
        for (QLabel* l : m_panes) l->hide();
        showMessage(QStringLiteral(" "));
    } else {
        clearMessage();
        for (int i = 0; i < kPanes; ++i) ShowPane(i);
    }
}
