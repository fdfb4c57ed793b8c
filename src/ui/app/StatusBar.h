#pragma once
#include <QStatusBar>
#include <QString>
#include <array>

class QLabel;

// The six-pane status bar of the main window. Pane 0 shows the project name
// ("Kein Projekt geöffnet" without one), panes 1 to 5 the status texts of the
// active window's node. While a menu of the menu bar is open the bar shows
// the menu prompts in one pane; the pane texts set meanwhile are kept and
// shown when the menu closes.
class CStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanes = 6;

    explicit CStatusBar(QWidget* parent = nullptr);

    void SetPaneText(int pane, const QString& text);
    // Sets all six panes in order, then redraws at once.
    void SetPaneTexts(const std::array<QString, kPanes>& texts);
    QString PaneText(int pane) const { return m_texts[pane]; }
    // Whether a pane is shown with its text (false in menu mode and for empty texts).
    bool IsPaneVisible(int pane) const;
    int PaneWidth(int pane) const;

    void SetMenuMode(bool on);
    bool MenuMode() const { return m_menuMode; }

private:
    void ShowPane(int pane);

    std::array<QString, kPanes> m_texts;
    std::array<QLabel*, kPanes> m_panes {};
    bool m_menuMode = false;
};
