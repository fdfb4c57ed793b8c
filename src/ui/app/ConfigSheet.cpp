#include "app/ConfigSheet.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/QtUserInteraction.h"
#include "util/ErrorInfo.h"

bool ProbeDevicePath(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // Another program that holds the port keeps it locked.
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (free) ::flock(fd, LOCK_UN);
    ::close(fd);
    return free;
}

bool ProbePort(bool lpt, int number)
{
    const CSettings& s = App().Settings();
    return ProbeDevicePath(lpt ? s.LptDevice(number) : s.ComDevice(number));
}

namespace {
QGroupBox* MakeGroup(const QString& title, const std::vector<std::pair<int, QString>>& buttons,
                     std::map<int, QRadioButton*>& out, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    // A group of radio buttons: marking one clears the others.
    auto* group = new QButtonGroup(box);
    for (const auto& [id, text] : buttons) {
        auto* b = new QRadioButton(text, box);
        b->setObjectName(QStringLiteral("button%1").arg(id));
        group->addButton(b, id);
        layout->addWidget(b);
        out[id] = b;
    }
    return box;
}
}  // namespace

CConfigSheet::CConfigSheet(QWidget* parent, PortProbe probe) : QDialog(parent), m_probe(std::move(probe))
{
    setWindowTitle(LoadQString(63013));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(CreateGeneralPage(), QStringLiteral("Allgemein"));
    m_tabs->addTab(CreatePortsPage(), QStringLiteral("Schnittstellen"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

QRadioButton* CConfigSheet::Button(int id) const
{
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

QWidget* CConfigSheet::CreateGeneralPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(MakeGroup(QStringLiteral("Datei-Extension für PX920 Dateien"),
                                {{1037, QStringLiteral("\".SYS\"")}, {1038, QStringLiteral("\".920\"")}}, m_buttons, page));
    layout->addWidget(MakeGroup(QStringLiteral("On/Offline"),
                                {{1039, QStringLiteral("Online PX920")}, {1040, QStringLiteral("Offline PX920")}},
                                m_buttons, page));
    layout->addWidget(MakeGroup(QStringLiteral("PX920 Zeichensatz"),
                                {{1041, QStringLiteral("Standard")}, {1042, QStringLiteral("Kyrillisch")}}, m_buttons, page));
    layout->addWidget(MakeGroup(QStringLiteral("PX920 Firmware-Version"),
                                {{1436, QStringLiteral("< V 3.6")}, {1437, QStringLiteral(">= V 3.6")}}, m_buttons, page));
    layout->addStretch(1);

    const CSettings& s = App().Settings();
    // The extension index is 1 only for exactly "920".
    Button(s.projectExtension == "920" ? 1038 : 1037)->setChecked(true);
    Button(s.online ? 1039 : 1040)->setChecked(true);
    Button(s.cyrillic ? 1042 : 1041)->setChecked(true);
    Button(s.oldFirmware ? 1436 : 1437)->setChecked(true);

    bool projectOpen = App().Project() != nullptr;
    bool linkClosed = !App().IsLinkOpen();
    // Extension and character set must not change under an open project.
    for (int id : {1037, 1038, 1041, 1042}) Button(id)->setEnabled(!projectOpen);
    for (int id : {1039, 1040, 1436, 1437}) Button(id)->setEnabled(!projectOpen || linkClosed);
    return page;
}

QWidget* CConfigSheet::CreatePortsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    std::vector<std::pair<int, QString>> com, lpt;
    for (int i = 1; i <= 4; ++i) {
        com.emplace_back(1032 + i, QStringLiteral("COM %1").arg(i));
        lpt.emplace_back(1437 + i, QStringLiteral("LPT%1").arg(i));
    }
    layout->addWidget(MakeGroup(QStringLiteral("COM-Schnittstelle"), com, m_buttons, page));
    layout->addWidget(MakeGroup(QStringLiteral("Externer Prommer an"), lpt, m_buttons, page));
    layout->addStretch(1);

    const CSettings& s = App().Settings();
    bool linkBusy = App().IsLinkOpen();
    for (int i = 1; i <= 4; ++i) {
        // The link's own port cannot change while the link is open.
        Button(1032 + i)->setEnabled(!linkBusy && m_probe(false, i));
        Button(1437 + i)->setEnabled(m_probe(true, i));
    }
    if (s.comPort >= 1 && s.comPort <= 4) Button(1032 + s.comPort)->setChecked(true);
    int lptPort = s.ReadLptPort();
    if (lptPort >= 1 && lptPort <= 4) Button(1437 + lptPort)->setChecked(true);
    return page;
}

int CConfigSheet::Chosen(int firstId) const
{
    for (int i = 4; i >= 1; --i) {
        QRadioButton* b = Button(firstId + i - 1);
        if (b && b->isEnabled() && b->isChecked()) return i;
    }
    return 0;
}

int CConfigSheet::ChosenComPort() const { return Chosen(1033); }
int CConfigSheet::ChosenLptPort() const { return Chosen(1438); }

void CConfigSheet::accept()
{
    CSettings& s = App().Settings();
    s.projectExtension = Button(1038)->isChecked() ? "920" : "SYS";
    s.online = Button(1039)->isChecked();
    s.oldFirmware = Button(1436)->isChecked();
    s.cyrillic = Button(1042)->isChecked();
    if (int com = ChosenComPort()) s.comPort = com;
    int lpt = ChosenLptPort();
    if (lpt && lpt != s.ReadLptPort()) {
        if (int id = s.WriteLptPort(lpt)) {
            CErrorInfo err;
            err.Set(id);
            err.Report(App().Ui());
        }
    }
    QDialog::accept();
}
