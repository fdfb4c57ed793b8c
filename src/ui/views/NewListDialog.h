#pragma once
#include <QDialog>

class QRadioButton;
class CProjekt;

// "Neue Liste anlegen": the root window's "Neu" creates the user symbol table
// or the standard text list, whichever the project does not have yet.
class CNewListDialog : public QDialog {
    Q_OBJECT
public:
    CNewListDialog(CProjekt& root, QWidget* parent = nullptr);

    QRadioButton* UserSymbolsButton() const { return m_userSymbols; }    // 1101
    QRadioButton* StandardTextsButton() const { return m_standardTexts; }  // 1102
    // NodeType of the chosen list (8 or 10), 0 when none can be chosen.
    int ChosenType() const;

private:
    QRadioButton* m_userSymbols;
    QRadioButton* m_standardTexts;
};

// Creates the fixed list of that type (8 or 10) under the root, valid and
// saved at once; 62042 and nothing added when saving fails.
bool CreateFixedList(CProjekt& root, int nodeType);
