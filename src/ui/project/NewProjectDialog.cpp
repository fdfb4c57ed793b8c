#include "project/NewProjectDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/QtUserInteraction.h"
#include "eprom/OptionsListe.h"
#include "project/NewProject.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/UserInteraction.h"

namespace {
struct BoxInfo {
    int id;
    const char* text;  // resource text, shown when the template is missing
    const char* base;  // template base name
    bool option;       // option list: labelled with the template's own name
};
const BoxInfo kBoxes[] = {
    {1015, "Service-Modul ", "CSER", true},
    {1021, "Schrittketten-Diagnose ", "CSKA", true},
    {1018, "Trace 8 Diagnose", "CTR8", true},
    {1027, "Protokollierung ", "CPRO", true},
    {1029, "Rechnerkopplung", "CRKO", true},
    {1439, "Erstellbetrieb", "ERST", true},
    {1437, "Systemdatenliste", nullptr, false},
    {1435, "Anwender-Symboltabelle", "ASYM", false},
    {1436, "Feste-Symboltabelle", "FSYM", false},
    {1438, "Standard-Textliste", "XTEX", false},
};
}  // namespace

CNewProjectDialog::CNewProjectDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Neues Projekt"));
    m_name = new QLineEdit(this);
    m_name->setMaxLength(32);
    m_directory = new QLineEdit(this);
    m_directory->setMaxLength(240);
    m_directory->setText(QString::fromStdString(App().Settings().lastProjectPath));
    auto* browse = new QPushButton(QStringLiteral("Durchsuchen..."), this);
    connect(browse, &QPushButton::clicked, this, &CNewProjectDialog::Browse);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Projektname: "), this), 0, 0);
    fields->addWidget(m_name, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Verzeichnis:"), this), 1, 0);
    fields->addWidget(m_directory, 1, 1);
    fields->addWidget(browse, 1, 2);

    auto* group = new QGroupBox(QStringLiteral("PX920-Optionen und globale Listen"), this);
    auto* grid = new QGridLayout(group);
    std::string templates = App().TemplateDir();
    bool haveRoot = !App().InstallRoot().empty();
    int row = 0;
    for (const BoxInfo& b : kBoxes) {
        auto* box = new QCheckBox(QString::fromUtf8(b.text), group);
        box->setObjectName(QStringLiteral("box%1").arg(b.id));
        m_boxes[b.id] = box;
        if (b.base) {
            std::string source = haveRoot ? FindTemplate(templates, b.base) : std::string();
            box->setEnabled(!source.empty());
            OptionHeader h;
            if (b.option && !source.empty() && ReadOptionHeader(source, h)) {
                std::string name = OptionDisplayName(h);
                if (!name.empty()) box->setText(FromDisplay(name));
            }
        }
        grid->addWidget(box, row % 6, row / 6);
        ++row;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(group);
    layout->addWidget(buttons);
    m_name->setFocus();
}

QCheckBox* CNewProjectDialog::Box(int id) const
{
    auto it = m_boxes.find(id);
    return it == m_boxes.end() ? nullptr : it->second;
}

void CNewProjectDialog::Browse()
{
    QString dir = QFileDialog::getExistingDirectory(this, LoadQString(63002), m_directory->text(),
                                                    QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty()) m_directory->setText(dir);
}

void CNewProjectDialog::accept()
{
    IUserInteraction& ui = App().Ui();
    std::string name = ToDisplay(m_name->text());
    std::string directory = m_directory->text().toStdString();
    std::string checked;
    CErrorInfo err;
    if (!CheckNewProject(name, directory, App().InstallRoot(), checked, err)) {
        // A corrected directory is shown even when a later check refuses it.
        if (err.Id() == 63229) m_directory->setText(QString::fromStdString(fsx::WithSlash(CorrectProjectDirectory(directory))));
        err.Report(ui);
        (err.Id() == 62011 ? m_name : m_directory)->setFocus();
        return;
    }
    m_directory->setText(QString::fromStdString(checked));
    std::string question = FormatMessageText(LoadString(63230), checked);
    if (ui.MessageBox(question, mb::YESNO | mb::ICONINFORMATION) != IDYES) return;

    NewProjectRequest r;
    r.name = name;
    r.directory = checked;
    r.newSystemDataList = Box(1437)->isChecked();
    r.service = Box(1015)->isChecked();
    r.stepDiagnosis = Box(1021)->isChecked();
    r.trace8 = Box(1018)->isChecked();
    r.logging = Box(1027)->isChecked();
    r.coupling = Box(1029)->isChecked();
    r.creation = Box(1439)->isChecked();
    r.userSymbols = Box(1435)->isChecked();
    r.fixedSymbols = Box(1436)->isChecked();
    r.standardTexts = Box(1438)->isChecked();
    if (!CreateNewProject(r, checked, App().InstallRoot(), App().Settings().projectExtension, err)) {
        if (err.Id() != 0) err.Report(ui);
        reject();
        return;
    }
    m_created = checked;
    QDialog::accept();
}
