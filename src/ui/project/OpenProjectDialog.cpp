#include "project/OpenProjectDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/QtUserInteraction.h"
#include "project/Projekt.h"
#include "util/StringTable.h"

namespace {
QString WithSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}
}  // namespace

COpenProjectDialog::COpenProjectDialog(const QString& startDirectory, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(LoadQString(61347));
    m_path = new QLineEdit(this);
    m_path->setReadOnly(true);  // shows where the walk is; the list is the way to move
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_places = new QComboBox(this);
    m_places->addItem(QStringLiteral("/"));
    QString home = QDir::homePath();
    if (home != QLatin1String("/")) m_places->addItem(home);
    for (const QString& base : {QStringLiteral("/media"), QStringLiteral("/mnt")}) {
        for (const QFileInfo& fi : QDir(base).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            m_places->addItem(fi.absoluteFilePath());
    }
    connect(m_places, &QComboBox::activated, this, [this](int i) { SetDirectory(m_places->itemText(i)); });
    m_projectName = new QLabel(this);
    m_projectName->setObjectName(QStringLiteral("projectName"));
    m_projectName->setTextFormat(Qt::PlainText);
    m_projectName->setMinimumWidth(240);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { Enter(item->text()); });

    auto* grid = new QGridLayout;
    auto* pathLabel = new QLabel(QStringLiteral("&Pfad:"), this);
    pathLabel->setBuddy(m_path);
    grid->addWidget(pathLabel, 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Laufwerke:"), this), 2, 0);
    grid->addWidget(m_places, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Projektname:"), this), 3, 0, 1, 2);
    grid->addWidget(m_projectName, 4, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(420, 420);

    // The start directory, or the nearest existing directory above it.
    QString start = QDir::cleanPath(startDirectory.isEmpty() ? QDir::homePath() : startDirectory);
    while (!QFileInfo(start).isDir()) {
        QString parent = QFileInfo(start).absolutePath();
        if (parent == start) break;
        start = parent;
    }
    if (!SetDirectory(start) && !SetDirectory(QDir::homePath())) SetDirectory(QStringLiteral("/"));
}

bool COpenProjectDialog::SetDirectory(const QString& dirIn)
{
    QDir dir(dirIn);
    if (!dir.exists() || !dir.isReadable()) return false;
    m_current = WithSlash(QDir::cleanPath(dir.absolutePath()));
    m_list->clear();
    if (!dir.isRoot()) m_list->addItem(QStringLiteral(".."));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                             QDir::Name | QDir::IgnoreCase))
        m_list->addItem(name);
    // What the watcher shows: the path and the project name of this directory.
    m_path->setText(m_current);
    std::string name;
    m_projectName->setText(TestProject(m_current.toStdString(), name) ? FromDisplay(name) : QString());
    return true;
}

QString COpenProjectDialog::ProjectName() const { return m_projectName->text(); }
QString COpenProjectDialog::PathText() const { return m_path->text(); }

void COpenProjectDialog::Enter(const QString& name)
{
    if (name == QLatin1String("..")) {
        QDir d(m_current);
        if (d.cdUp()) SetDirectory(d.absolutePath());
        return;
    }
    SetDirectory(m_current + name);
}

void COpenProjectDialog::accept()
{
    if (QListWidgetItem* item = m_list->currentItem(); item && item->isSelected()) Enter(item->text());
    std::string name;
    if (!TestProject(m_current.toStdString(), name)) return;
    m_chosen = m_current;
    QDialog::accept();
}
