#pragma once
#include <memory>
#include <string>

class CComm;
class CInhaltsverzeichnis;

// The device link and the module's directory node of the open project. The
// main window creates one when a project opens and destroys it when the
// project closes, after the windows (the directory's among them) are gone,
// so that no window refers to a directory or link that no longer exists.
class CDeviceSession {
public:
    explicit CDeviceSession(const std::string& projectExtension);
    ~CDeviceSession();
    CDeviceSession(const CDeviceSession&) = delete;
    CDeviceSession& operator=(const CDeviceSession&) = delete;

    CComm& Comm() { return *m_comm; }
    CInhaltsverzeichnis& Directory() { return *m_directory; }

    // The session of the open project; null while no project is open.
    static CDeviceSession* Current();

private:
    std::unique_ptr<CComm> m_comm;
    std::unique_ptr<CInhaltsverzeichnis> m_directory;
};
