#pragma once
#include <QDialog>
#include <functional>
#include <map>

class QRadioButton;
class QTabWidget;

// Whether a port can be opened for exclusive reading and writing now
// (lpt false: "COMn", true: "LPTn"); the device paths come from the settings.
using PortProbe = std::function<bool(bool lpt, int number)>;
bool ProbePort(bool lpt, int number);
// The probe of one device path: opened read-write without becoming the
// controlling terminal, refused when another program holds it locked.
bool ProbeDevicePath(const std::string& path);

// The configuration sheet "Konfiguration" with the pages "Allgemein" and
// "Schnittstellen". It edits the settings in memory; OK applies them.
class CConfigSheet : public QDialog {
    Q_OBJECT
public:
    explicit CConfigSheet(QWidget* parent = nullptr, PortProbe probe = ProbePort);

    // The radio buttons by their resource ids: 1037/1038 extension, 1039/1040
    // on/offline, 1041/1042 character set, 1436/1437 firmware, 1033..1036
    // COM 1..4, 1438..1441 LPT1..4.
    QRadioButton* Button(int id) const;
    QTabWidget* Tabs() const { return m_tabs; }

    // The port a group gives on OK: the highest-numbered button that is
    // enabled and marked, or 0 when there is none.
    int ChosenComPort() const;
    int ChosenLptPort() const;

    void accept() override;

private:
    QWidget* CreateGeneralPage();
    QWidget* CreatePortsPage();
    int Chosen(int firstId) const;

    PortProbe m_probe;
    QTabWidget* m_tabs;
    std::map<int, QRadioButton*> m_buttons;
};
