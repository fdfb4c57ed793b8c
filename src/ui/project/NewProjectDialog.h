#pragma once
#include <QDialog>
#include <map>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Neues Projekt": name, directory and the option and global lists to copy
// from the installation's templates. OK checks the entries, creates the
// directory with its system data list and the chosen copies; the caller then
// opens CreatedDirectory().
class CNewProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNewProjectDialog(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* DirectoryEdit() const { return m_directory; }
    // Check boxes by resource id: 1015 CSER, 1021 CSKA, 1018 CTR8, 1027 CPRO,
    // 1029 CRKO, 1439 ERST, 1437 system data list, 1435 ASYM, 1436 FSYM, 1438 XTEX.
    QCheckBox* Box(int id) const;
    // The project directory (with a trailing '/') after a successful OK.
    const std::string& CreatedDirectory() const { return m_created; }

    void accept() override;

private:
    void Browse();

    QLineEdit* m_name;
    QLineEdit* m_directory;
    std::map<int, QCheckBox*> m_boxes;
    std::string m_created;
};
