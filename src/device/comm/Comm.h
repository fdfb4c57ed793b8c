#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "comm/OnlineElement.h"
#include "r3964/C3964R.h"
#include "r3964/StopEvent.h"
#include "util/ErrorInfo.h"

class IPort;
class CProjekt;
class CModulListe;
class CVerzeichnisAbschnitt;
class IUserInteraction;

enum class LinkState { Closed = 0, Raw = 1, Procedure = 2 };

// Completion messages of a background transfer.
constexpr unsigned kLoadDoneMessage = 0x600;
constexpr unsigned kReadDoneMessage = 0x601;

// Called from the transfer thread when a load or read has ended (message,
// result 1 success / 0 failure). It must not close the link itself; the
// desktop hands it over to its user-interface thread.
using TransferNotify = std::function<void(unsigned message, int result)>;

// Opens the port for a link. The default opens the configured serial device
// (9600 baud, 8 data bits, even parity, 1 stop bit); tests put an in-memory
// line in its place. Null when the port cannot be opened.
using PortFactory = std::function<std::unique_ptr<IPort>(int comPort)>;

// The device link: the port, the 3964R procedure and the module services.
// One per program; while it exists, the node model asks it whether a link
// is open.
class CComm : public ILinkState {
public:
    CComm();
    ~CComm() override;
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // ILinkState
    bool IsLinkOpen() const override { return m_state != LinkState::Closed; }
    bool IsLink3964R() const override { return m_state == LinkState::Procedure; }

    // Connection.
    void SetComPort(int port) { m_comPort = port; }
    void SetOldFirmware(bool old) { m_oldFirmware = old; }
    // A device path that replaces the COMn mapping of the settings (empty: use the mapping).
    void SetDevicePath(const std::string& path) { m_devicePath = path; }
    void SetPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    void SetTiming(const C3964RTiming& timing) { m_timing = timing; }
    LinkState State() const { return m_state; }
    bool Open(int mode, TransferNotify notify = {});
    void Close();
    bool SendRawByte(uint8_t b);
    CErrorInfo& ErrorInfo() { return m_error; }
    const CErrorInfo& ErrorInfo() const { return m_error; }

    // Background transfers.
    bool StartLoad(const std::string& directory, const std::string& fileName);
    bool StartRead(const std::string& directory, const std::string& fileName);
    bool Busy() const { return m_busy.load(std::memory_order_acquire); }
    uint16_t DataLength() const { return m_dataLength.load(std::memory_order_relaxed); }
    int Progress() const;
    // Waits (in 50 ms steps) until no transfer runs and the thread has ended.
    void WaitForTransfer();
    const std::string& ListName() const { return m_listName; }

    // Services in the calling thread.
    bool DeleteList(const std::string& identifier);
    bool ReadDirectorySection(const std::string& selector, CVerzeichnisAbschnitt& section);
    bool QueryEntry(const std::string& identifier, CModulListe& entry);
    // Loads a standard list from the project, else from the program's data directory.
    bool LoadNamedList(const CProjekt& project, const std::string& identifier);
    bool LoadNamedList(const std::string& projectDir, const std::string& projectExt, const std::string& identifier);

    // Online picture configuration.
    // The standard lists the module asks for come from the project (or,
    // without one, from the program's data directory).
    bool StartOnlinePicture(const IOnlinePicture& picture, const CProjekt* project);
    bool StartOnlinePicture(const IOnlinePicture& picture, const std::string& projectDir, const std::string& projectExt);
    bool SendPicture(const IOnlinePicture& picture);
    bool SendElement(const IOnlineElement& element, int mode);
    bool SendPosition(const std::string& xText, const std::string& yText);
    bool PositionDone();
    bool EndEditing();
    bool SwitchDisplay(int n);
    const IOnlinePicture* CurrentPicture() const { return m_currentPicture; }
    bool EditMode() const { return m_editMode; }

    // The same four for the element dialogs: a failure is reported at once
    // and the error record cleared again.
    bool DlgSendElement(const IOnlineElement& element, int mode, IUserInteraction& ui);
    bool DlgSendPosition(const std::string& xText, const std::string& yText, IUserInteraction& ui);
    bool DlgPositionDone(IUserInteraction& ui);
    bool DlgEndEditing(IUserInteraction& ui);

    // Driver access for tests and the progress bars.
    C3964R* Driver() { return m_driver.get(); }

private:
    bool SendFrame(const uint8_t* data, size_t length);
    bool SendFrame(const std::vector<uint8_t>& data) { return SendFrame(data.data(), data.size()); }
    bool ReceiveFrame(uint8_t* buffer, uint16_t capacity, uint16_t& length);
    bool ReceiveAcknowledge();
    bool Exchange(const std::vector<uint8_t>& request, uint8_t* answer, uint16_t capacity, uint16_t& length);
    void InternalError(int line);
    bool PrepareTransfer(const std::string& directory, const std::string& fileName);
    bool StartThread(bool load);
    void LoadThread();
    void ReadThread();
    void FinishTransfer(unsigned message, int result);
    void JoinThread();
    bool DeleteWithType(uint8_t type, const uint8_t b[3], const std::string& identifier);
    bool LoadNamedIn(const std::string& dir, const std::string& fileName);

    LinkState m_state = LinkState::Closed;
    TransferNotify m_notify;
    CManualResetEvent m_stopEvent;
    int m_comPort = 0;
    bool m_oldFirmware = false;
    std::string m_devicePath;
    PortFactory m_portFactory;
    C3964RTiming m_timing;
    std::unique_ptr<IPort> m_port;
    std::unique_ptr<C3964R> m_driver;
    CErrorInfo m_error;

    // Transfer fields.
    std::atomic<bool> m_busy {false};
    std::atomic<bool> m_progressActive {false};
    std::string m_listName;
    std::string m_directory;
    uint8_t m_header[7] = {};
    std::vector<uint8_t> m_data;
    std::atomic<uint16_t> m_dataLength {0};
    std::thread m_thread;

    const IOnlinePicture* m_currentPicture = nullptr;
    bool m_editMode = false;
};

// The opening rule every user of the link follows: a link that is already
// open is reported as busy (62061); otherwise the port and firmware
// settings are copied into the link and it is opened; a failure is
// reported and the error record cleared. True when the link is open.
bool OpenLinkForUser(CComm& comm, int mode, IUserInteraction& ui, TransferNotify notify = {});

// Option code of an option-list identifier (ERST 3, CSKA 4, CPRO 5, CSER 6,
// CTR8 7, CRKO 14), or -1.
int OptionCode(const std::string& identifier);
// Identifier of an option code, empty when unknown.
std::string OptionIdentifier(int code);
