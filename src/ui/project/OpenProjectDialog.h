#pragma once
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// "Öffnen Projekt": walks the directory tree, shows the project name of the
// current directory while browsing, and ends with a result only on a
// directory that holds a project.
class COpenProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit COpenProjectDialog(const QString& startDirectory, QWidget* parent = nullptr);

    // Makes dir the current directory (the list shows its subdirectories).
    bool SetDirectory(const QString& dir);
    QString CurrentDirectory() const { return m_current; }
    // The project name shown for the current directory (empty: no project).
    QString ProjectName() const;
    QString PathText() const;
    QListWidget* DirectoryList() const { return m_list; }
    // The directory recorded by OK, with a trailing '/'; empty until then.
    QString ChosenDirectory() const { return m_chosen; }

    // OK: first enters the selected subdirectory, then ends the dialog when
    // the current directory holds a project.
    void accept() override;

private:
    void Enter(const QString& name);

    QLineEdit* m_path;
    QListWidget* m_list;
    QComboBox* m_places;
    QLabel* m_projectName;
    QString m_current;
    QString m_chosen;
};
