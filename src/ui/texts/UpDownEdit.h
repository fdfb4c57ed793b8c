#pragma once
#include <QLineEdit>
#include <QWidget>

class QToolButton;

// An edit box with an up-down control beside it (and on the arrow keys):
// the buttons step the number within the range; what is typed is checked
// only on OK, like every other field.
class CUpDownEdit : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownEdit(QWidget* parent = nullptr);
    QLineEdit* Edit() const { return m_edit; }
    void SetRange(int lo, int hi);
    void Step(int delta);
    void SetDigitsOnly();
    // Enables or disables the box together with its buttons.
    void SetActive(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lo = 0, m_hi = 0;
};
