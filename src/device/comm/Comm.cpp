#include "comm/Comm.h"

#include <chrono>
#include <cstdlib>
#include <system_error>

#include "eprom/OptionsListe.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "project/Projekt.h"
#include "serial/SerialPort.h"
#include "transfer/ModuleDirectory.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

using namespace r3964;

namespace {

constexpr int IDS_NOT_FOUND = 62043;
constexpr int IDS_LIST_NOT_IN_MODULE = 62050;
constexpr int IDS_NO_MEMORY_IN_MODULE = 62052;
constexpr int IDS_ALREADY_IN_EPROM = 62053;
constexpr int IDS_ALREADY_IN_MODULE = 62054;
constexpr int IDS_CANNOT_DELETE = 62055;
constexpr int IDS_NO_PORT_ACCESS = 62060;
constexpr int IDS_NO_ANSWER = 62062;
constexpr int IDS_DRIVER_ERROR = 62063;
constexpr int IDS_ONLINE_REFUSED = 62064;
constexpr int IDS_UNKNOWN_MODULE_ERROR = 62067;
constexpr int IDS_UNEXPECTED_TELEGRAM = 62068;
constexpr int IDS_PICTURE_ERROR = 62069;

// The module keeps its lists in a few hundred kilobytes; no section can
// hold more entries than this, so a module that never ends a directory is
// stopped here.
constexpr int kMaxDirectoryEntries = 10000;

std::unique_ptr<IPort> OpenSerial(int comPort, const std::string& path)
{
    auto port = std::make_unique<CSerialPort>(comPort, path);
    port->SetBaudRate(9600);
    port->SetDataBits(8);
    port->SetParity(2);
    port->SetStopBits(1);
    if (!port->Open()) return nullptr;
    return port;
}

// A file name the read may create: no path, no control characters, both
// parts acceptable as name parts.
bool IsSafeListFileName(const std::string& name)
{
    if (name.empty() || name.size() > 64) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0) return false;
    return IsValidNamePart(name.substr(0, dot)) && IsValidNamePart(name.substr(dot + 1));
}

}  // namespace

int OptionCode(const std::string& identifier) { return OptionCodeOf(identifier); }

std::string OptionIdentifier(int code) { return code >= 0 && code < 256 ? OptionBaseName(static_cast<uint8_t>(code)) : std::string(); }

CComm::CComm() { App().SetLinkState(this); }

CComm::~CComm()
{
    Close();
    if (App().LinkState() == this) App().SetLinkState(nullptr);
}

void CComm::InternalError(int line) { m_error.Set(IDS_INTERNAL_ERROR, "Comm", line); }

// ------------------------------------------------------------ connection

bool CComm::Open(int mode, TransferNotify notify)
{
    m_error.Clear();
    if (m_state != LinkState::Closed) {
        InternalError(__LINE__);
        return false;
    }
    if (m_comPort == 0) {
        m_error.Set(IDS_NO_PORT_ACCESS, 0);
        return false;
    }
    if (m_portFactory) {
        m_port = m_portFactory(m_comPort);
    } else {
        std::string path = m_devicePath.empty() ? App().Settings().ComDevice(m_comPort) : m_devicePath;
        m_port = OpenSerial(m_comPort, path);
    }
    if (!m_port) {
        m_error.Set(IDS_NO_PORT_ACCESS, m_comPort);
        Close();
        return false;
    }
    if (mode == 2) {
        m_stopEvent.Reset();
        m_driver = std::make_unique<C3964R>(*m_port, m_stopEvent, m_oldFirmware, m_timing);
        if (!m_driver->ConnectionCheck()) {
            m_error.Set(IDS_NO_ANSWER);
            Close();
            return false;
        }
        m_state = LinkState::Procedure;
    } else {
        m_state = LinkState::Raw;
    }
    m_notify = std::move(notify);
    return true;
}

void CComm::Close()
{
    if (m_thread.joinable()) {
        m_stopEvent.Set();
        JoinThread();
        m_stopEvent.Reset();
    }
    if (m_state == LinkState::Procedure && m_driver) {
        uint8_t closing = 0x00;
        C3964RJob job;
        job.direction = kSend;
        job.buffer = &closing;
        job.length = 1;
        m_driver->Transfer(job);
        // A pending error is what the caller has yet to report; keep it.
        if (job.result != kSentOk && m_error.Id() == 0) m_error.Set(IDS_DRIVER_ERROR, job.result);
    }
    m_driver.reset();
    m_port.reset();
    m_data.clear();
    m_data.shrink_to_fit();
    m_dataLength = 0;
    m_busy = false;
    m_progressActive = false;
    m_notify = nullptr;
    m_currentPicture = nullptr;
    m_editMode = false;
    m_state = LinkState::Closed;
}

bool CComm::SendRawByte(uint8_t b)
{
    if (m_state != LinkState::Raw || !m_port) return false;
    return m_port->WriteByte(b) == 1;
}

bool OpenLinkForUser(CComm& comm, int mode, IUserInteraction& ui, TransferNotify notify)
{
    if (comm.State() != LinkState::Closed) {
        CErrorInfo busy;
        busy.Set(IDS_LINK_BUSY);
        busy.Report(ui);
        return false;
    }
    comm.SetComPort(App().Settings().comPort);
    comm.SetOldFirmware(App().Settings().oldFirmware);
    if (comm.Open(mode, std::move(notify))) return true;
    comm.ErrorInfo().Report(ui);
    comm.ErrorInfo().Clear();
    return false;
}

// ------------------------------------------------------------ frames

bool CComm::SendFrame(const uint8_t* data, size_t length)
{
    if (!m_driver) {
        InternalError(__LINE__);
        return false;
    }
    if (length > 0xFFFF) {
        InternalError(__LINE__);
        return false;
    }
    C3964RJob job;
    job.direction = kSend;
    job.buffer = const_cast<uint8_t*>(data);
    job.length = static_cast<uint16_t>(length);
    m_driver->Transfer(job);
    if (job.result != kSentOk) {
        m_error.Set(IDS_DRIVER_ERROR, job.result);
        return false;
    }
    return true;
}

bool CComm::ReceiveFrame(uint8_t* buffer, uint16_t capacity, uint16_t& length)
{
    length = 0;
    if (!m_driver) {
        InternalError(__LINE__);
        return false;
    }
    C3964RJob job;
    job.direction = kReceive;
    job.buffer = buffer;
    job.length = capacity;
    m_driver->Transfer(job);
    length = job.length;
    if (job.result != kReceivedOk) {
        m_error.Set(IDS_DRIVER_ERROR, job.result);
        return false;
    }
    return true;
}

bool CComm::Exchange(const std::vector<uint8_t>& request, uint8_t* answer, uint16_t capacity, uint16_t& length)
{
    std::fill(answer, answer + capacity, uint8_t(0));
    return SendFrame(request) && ReceiveFrame(answer, capacity, length);
}

bool CComm::ReceiveAcknowledge()
{
    uint8_t ack[2] = {};
    uint16_t len = 0;
    if (!ReceiveFrame(ack, 2, len)) return false;
    if (len == 2 && ack[0] == 0x03 && ack[1] == 0x00) return true;
    if (len >= 1 && ack[0] == 0x07)
        m_error.Set(IDS_PICTURE_ERROR, ack[1]);
    else
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, ack[0]);
    return false;
}

// ------------------------------------------------------------ transfers

int CComm::Progress() const
{
    if (!m_progressActive.load(std::memory_order_relaxed) || !m_driver) return 0;
    return m_driver->Progress();
}

void CComm::JoinThread()
{
    if (!m_thread.joinable()) return;
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // Called from the completion callback: the thread ends by itself.
        m_thread.detach();
        return;
    }
    m_thread.join();
}

void CComm::WaitForTransfer()
{
    while (Busy()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    JoinThread();
}

bool CComm::PrepareTransfer(const std::string& directory, const std::string& fileName)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    if (Busy()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (Busy()) {
            InternalError(__LINE__);
            return false;
        }
    }
    JoinThread();
    m_data.clear();
    m_busy = false;
    m_progressActive = false;
    m_dataLength = 0;
    m_listName = ToUpper(fileName);
    m_directory = directory;
    return true;
}

bool CComm::StartThread(bool load)
{
    m_busy.store(true, std::memory_order_release);
    try {
        m_thread = std::thread([this, load] { load ? LoadThread() : ReadThread(); });
    } catch (const std::system_error&) {
        m_busy = false;
        m_data.clear();
        m_error.Set(IDS_OUT_OF_MEMORY);
        return false;
    }
    return true;
}

bool CComm::StartLoad(const std::string& directory, const std::string& fileName)
{
    if (!PrepareTransfer(directory, fileName)) return false;

    std::vector<uint8_t> file;
    uint16_t length = 0;
    std::fill(std::begin(m_header), std::end(m_header), uint8_t(0));
    try {
        if (!fsx::ReadWholeFile(fsx::ResolvePath(fsx::WithSlash(directory), fileName), file))
            throw CFileException(CFileException::fileNotFound);
        CByteReader in(file);
        if (IStartsWith(fileName, "C") || IStartsWith(fileName, "ERST")) {
            // An option list: its own 12-byte header starts with the option code.
            if (file.size() < 12) CFileException::ThrowGeneric();
            m_header[1] = LTC_OPTION;
            m_header[2] = file[0];
            length = GetU16(&file[1]);
        } else {
            AnyListHeader h;
            h.Read(in);
            m_header[1] = h.type;
            if (h.form == HeaderForm::Long)
                for (int i = 0; i < 3; ++i) m_header[2 + i] = static_cast<uint8_t>(h.identifier[i]);
            length = h.length;
        }
        // The image is the first `length` bytes of the file; a file shorter
        // than its own length is damaged.
        if (length > file.size()) CFileException::ThrowGeneric("list shorter than its header says");
        m_header[5] = static_cast<uint8_t>(length & 0xFF);
        m_header[6] = static_cast<uint8_t>(length >> 8);
        m_data.assign(file.begin(), file.begin() + length);
        m_dataLength = length;
    } catch (const CFileException&) {
        m_data.clear();
        m_dataLength = 0;
        m_busy = false;
        m_error.Set(IDS_FILE_ACCESS);
        return false;
    }
    return StartThread(true);
}

bool CComm::StartRead(const std::string& directory, const std::string& fileName)
{
    if (!PrepareTransfer(directory, fileName)) return false;
    // The name may come from the module's directory: it must stay a plain
    // file name inside the project directory.
    if (!IsSafeListFileName(m_listName)) {
        m_error.Set(IDS_FILE_ACCESS);
        return false;
    }
    m_header[0] = 'P';
    for (int i = 0; i < 4; ++i)
        m_header[1 + i] = i < static_cast<int>(m_listName.size()) ? static_cast<uint8_t>(m_listName[i]) : ' ';
    m_header[5] = m_header[6] = 0;
    m_dataLength = 0;
    m_data.assign(65536, 0);
    return StartThread(false);
}

void CComm::FinishTransfer(unsigned message, int result)
{
    m_busy.store(false, std::memory_order_release);
    if (m_notify) m_notify(message, result);
}

void CComm::LoadThread()
{
    int result = 0;
    m_header[0] = 0x02;
    uint8_t answer[2] = {};
    uint16_t len = 0;
    if (SendFrame(m_header, 7) && ReceiveFrame(answer, 2, len)) {
        if (answer[0] != 0) {
            switch (answer[1]) {
            case 253: m_error.Set(IDS_ALREADY_IN_MODULE, m_listName, 0); break;
            case 254: m_error.Set(IDS_ALREADY_IN_EPROM, m_listName, 0); break;
            case 255: m_error.Set(IDS_NO_MEMORY_IN_MODULE, m_listName, 0); break;
            default: m_error.Set(IDS_UNKNOWN_MODULE_ERROR, answer[1]); break;
            }
        } else {
            m_progressActive = true;
            if (SendFrame(m_data.data(), m_dataLength)) result = 1;
        }
    }
    FinishTransfer(kLoadDoneMessage, result);
}

void CComm::ReadThread()
{
    int result = 0;
    uint16_t len = 0;
    if (SendFrame(m_header, 7)) {
        uint8_t answer[7] = {};
        if (ReceiveFrame(answer, 7, len)) {
            std::copy(answer, answer + 7, m_header);
            if (answer[0] == 'P' && len == 7) {
                uint16_t length = GetU16(&answer[5]);
                m_dataLength = length;
                m_header[0] = 'S';
                if (SendFrame(m_header, 7)) {
                    m_progressActive = true;
                    uint16_t got = 0;
                    if (ReceiveFrame(m_data.data(), length, got)) {
                        std::string path = fsx::ResolvePath(fsx::WithSlash(m_directory), m_listName);
                        if (got != length) {
                            InternalError(__LINE__);
                        } else if (!fsx::IsInside(m_directory, path) ||
                                   !fsx::WriteFileAtomic(path, m_data.data(), length)) {
                            m_error.Set(IDS_FILE_ACCESS);
                        } else {
                            result = 1;
                        }
                    }
                }
            } else if (answer[0] == '_') {
                m_error.Set(IDS_LIST_NOT_IN_MODULE, m_listName, 0);
            } else {
                m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
            }
        }
    }
    FinishTransfer(kReadDoneMessage, result);
}

// ------------------------------------------------------------ delete

bool CComm::DeleteList(const std::string& identifierIn)
{
    if (m_error.Id()) return false;
    std::string id = ToUpper(identifierIn);
    uint8_t type = 0;
    uint8_t b[3] = {0, 0, 0};
    if (IStartsWith(id, "C") || id == "ERST") {
        int code = OptionCode(id);
        if (code < 0) {
            m_error.Set(IDS_CANNOT_DELETE, identifierIn, 0);
            return false;
        }
        type = LTC_OPTION;
        b[0] = static_cast<uint8_t>(code);
    } else if (id == "ASYM") {
        type = LTC_USER_SYMBOLS;
    } else if (id == "XTEX") {
        type = LTC_STANDARD_TEXTS;
    } else if (id == "SDAT") {
        type = LTC_SYSDATA;
    } else if (id == "FSYM") {
        type = LTC_FIXED_SYMBOLS;
    } else {
        switch (id.empty() ? 0 : id[0]) {
        case 'B': type = LTC_PICTURE; break;
        case 'T': type = LTC_TEXTGROUP; break;
        case 'G': type = LTC_STEPSEQUENCE; break;
        case 'P': type = LTC_PROTOCOL; break;
        default:
            m_error.Set(IDS_CANNOT_DELETE, identifierIn, 0);
            return false;
        }
        for (int i = 0; i < 3; ++i) b[i] = static_cast<uint8_t>(i + 1 < static_cast<int>(id.size()) ? id[i + 1] : ' ');
    }
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    for (;;) {
        uint8_t answer[2] = {};
        uint16_t len = 0;
        if (!Exchange({0x03, type, b[0], b[1], b[2]}, answer, 2, len)) return false;
        if (answer[0] == 0) return true;
        if (answer[1] == 255) {
            // A text group may be in the module under either of its two codes.
            if (type == LTC_TEXTGROUP) {
                type = LTC_TEXTGROUP_PROTOCOL;
                continue;
            }
            m_error.Set(IDS_LIST_NOT_IN_MODULE, identifierIn, 0);
        } else {
            m_error.Set(IDS_UNKNOWN_MODULE_ERROR, answer[1]);
        }
        return false;
    }
}

// ------------------------------------------------------------ directory

bool CComm::ReadDirectorySection(const std::string& selector, CVerzeichnisAbschnitt& section)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    uint8_t open[7];
    uint16_t len = 0;
    std::vector<uint8_t> request {0x60, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < 2 && i < selector.size(); ++i) request[1 + i] = static_cast<uint8_t>(selector[i]);
    if (!Exchange(request, open, 7, len)) return false;
    if (open[0] != 0x60) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, open[0]);
        return false;
    }
    std::vector<uint8_t> next {'b', open[1], open[2], open[3], open[4], open[5], open[6]};
    for (int count = 0;; ++count) {
        uint8_t entry[40];
        if (!Exchange(next, entry, sizeof entry, len)) return false;
        if (entry[0] == 'o' && len == 1) return true;
        if (entry[0] != 'b' || count >= kMaxDirectoryEntries) {
            m_error.Set(IDS_UNEXPECTED_TELEGRAM, entry[0]);
            return false;
        }
        auto* node = new CModulListe(&section, "", section.Extension());
        if (!node->Fill(entry, len)) {
            // Malformed, or an identifier that must not become a file name.
            delete node;
            m_error.Set(IDS_UNEXPECTED_TELEGRAM, entry[0]);
            return false;
        }
        section.AddChild(node);
        if (m_error.Id()) return false;
    }
}

bool CComm::QueryEntry(const std::string& identifier, CModulListe& entry)
{
    entry.m_found = false;
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    std::vector<uint8_t> request {0x60, ' ', ' ', ' ', ' ', 0, 0};
    for (size_t i = 0; i < 4 && i < identifier.size(); ++i) request[1 + i] = static_cast<uint8_t>(identifier[i]);
    uint8_t open[7];
    uint16_t len = 0;
    if (!Exchange(request, open, 7, len)) return false;
    if (open[0] != 0x60) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, open[0]);
        return false;
    }
    std::vector<uint8_t> next {'b', open[1], open[2], open[3], open[4], open[5], open[6]};
    uint8_t answer[40];
    if (!Exchange(next, answer, sizeof answer, len)) return false;
    if (answer[0] == 'o' && len == 1) return true;
    if (answer[0] != 'b' || !entry.Fill(answer, len)) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
        return false;
    }
    entry.m_found = true;
    if (!Exchange(next, answer, sizeof answer, len)) return false;
    if (answer[0] == 'o' && len == 1) return true;
    m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
    return false;
}

// ------------------------------------------------------------ named lists

bool CComm::LoadNamedIn(const std::string& dir, const std::string& fileName) { return StartLoad(dir, fileName); }

bool CComm::LoadNamedList(const CProjekt& project, const std::string& identifier)
{
    return LoadNamedList(project.GetDirectory(), project.GetExtension(), identifier);
}

bool CComm::LoadNamedList(const std::string& projectDir, const std::string& projectExt, const std::string& identifier)
{
    if (m_error.Id()) return false;
    bool started = !projectDir.empty() && LoadNamedIn(projectDir, identifier + "." + projectExt);
    if (!started && (projectDir.empty() || m_error.Id() == IDS_FILE_ACCESS)) {
        m_error.Clear();
        started = LoadNamedIn(App().TemplateDir(), identifier + ".920");
        if (!started && m_error.Id() == IDS_FILE_ACCESS) {
            m_error.Clear();
            started = LoadNamedIn(App().TemplateDir(), identifier + ".SYS");
            if (!started && m_error.Id() == IDS_FILE_ACCESS) m_error.Set(IDS_NOT_FOUND, identifier + ".920", 0);
        }
    }
    if (!started) return false;
    WaitForTransfer();
    // A list the module already has (in memory or EPROM) is what was wanted.
    if (m_error.Id() == IDS_ALREADY_IN_EPROM || m_error.Id() == IDS_ALREADY_IN_MODULE) m_error.Clear();
    return m_error.Id() == 0;
}

// ------------------------------------------------------------ online pictures

bool CComm::StartOnlinePicture(const IOnlinePicture& picture, const CProjekt* project)
{
    if (project) return StartOnlinePicture(picture, project->GetDirectory(), project->GetExtension());
    return StartOnlinePicture(picture, std::string(), App().Settings().projectExtension);
}

bool CComm::StartOnlinePicture(const IOnlinePicture& picture, const std::string& dir, const std::string& ext)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    uint8_t answer[3];
    uint16_t len = 0;
    if (!Exchange({0x04}, answer, 2, len)) return false;
    if (len != 2 || answer[0] == 3) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
        return false;
    }
    bool needErst = answer[0] == 0 || answer[0] == 2;
    bool needFsym = answer[0] == 0 || answer[0] == 1;
    if (needErst && !LoadNamedList(dir, ext, "ERST")) return false;
    if (needFsym && !LoadNamedList(dir, ext, "FSYM")) return false;

    if (!Exchange({0x01}, answer, 2, len)) return false;
    if (answer[0] != 0) {
        m_error.Set(IDS_ONLINE_REFUSED);
        return false;
    }
    std::fill(answer, answer + 3, uint8_t(0));
    if (!ReceiveFrame(answer, 3, len)) return false;
    if (len != 3 || answer[0] != 0x81 || answer[1] != 0x00 || answer[2] != 0x80) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
        return false;
    }
    return SendFrame(BuildSystemBlock(picture.SystemBlock())) && ReceiveAcknowledge();
}

bool CComm::SendPicture(const IOnlinePicture& picture)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure || !picture.IsLoaded()) {
        InternalError(__LINE__);
        return false;
    }
    uint8_t answer[2];
    uint16_t len = 0;
    if (!Exchange({0x02, 0x00}, answer, 2, len)) return false;
    if (len != 2 || answer[0] != 0x02 || answer[1] != 0x11) {
        m_error.Set(IDS_UNEXPECTED_TELEGRAM, answer[0]);
        return false;
    }
    if (!SendFrame({0x02, 0x11, picture.BackgroundColour()}) || !ReceiveAcknowledge()) return false;
    m_currentPicture = &picture;
    m_editMode = false;
    std::string sequence = App().Settings().editSequence;
    for (size_t i = 0; i < 5 && i < sequence.size(); ++i) {
        char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(sequence[i])));
        if (kind != 'V' && kind != 'S' && kind != 'C' && kind != 'W' && kind != 'B') continue;
        for (const IOnlineElement* e : picture.Elements(kind))
            if (e && !SendElement(*e, kElementNew)) return false;
    }
    return true;
}

bool CComm::SendElement(const IOnlineElement& element, int mode)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure || !m_currentPicture) {
        InternalError(__LINE__);
        return false;
    }
    if ((mode == kElementUpdate || mode == kElementEndEdit) && m_editMode) {
        m_editMode = false;
        if (!SendFrame({0x0B}) || !ReceiveAcknowledge()) return false;
    }
    OnlineElementDesc d = element.Describe();
    std::vector<uint8_t> telegram;
    bool unknownKind = false;
    bool built = BuildElementTelegram(d, mode, *m_currentPicture, telegram, unknownKind);
    if (unknownKind) {
        InternalError(__LINE__);
        return false;
    }
    if (built) {
        if (mode != kElementUpdate) {
            if (!SendFrame(BuildPositionTelegram(d.x, d.y)) || !ReceiveAcknowledge()) return false;
        }
        if (!SendFrame(telegram) || !ReceiveAcknowledge()) return false;
    }
    if (mode == kElementNew || mode == kElementErase || mode == kElementEndEdit) {
        if (!SendFrame({0x0C}) || !ReceiveAcknowledge()) return false;
        m_editMode = false;
    } else {
        m_editMode = true;
    }
    return true;
}

bool CComm::SendPosition(const std::string& xText, const std::string& yText)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    int x = std::atoi(xText.c_str());
    int y = std::atoi(yText.c_str());
    return SendFrame(BuildPositionTelegram(x, y)) && ReceiveAcknowledge();
}

bool CComm::PositionDone()
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    return SendFrame({0x03, 0x0A}) && ReceiveAcknowledge();
}

bool CComm::EndEditing()
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure) {
        InternalError(__LINE__);
        return false;
    }
    return SendFrame({0x0B}) && ReceiveAcknowledge();
}

bool CComm::SwitchDisplay(int n)
{
    if (m_error.Id()) return false;
    if (m_state != LinkState::Procedure || !m_currentPicture) {
        InternalError(__LINE__);
        return false;
    }
    return SendFrame({0x04, static_cast<uint8_t>(n)}) && ReceiveAcknowledge();
}

namespace {
template <class F>
bool ReportOnFailure(CErrorInfo& error, IUserInteraction& ui, F&& operation)
{
    error.Clear();
    if (operation()) return true;
    error.Report(ui);
    error.Clear();
    return false;
}
}  // namespace

bool CComm::DlgSendElement(const IOnlineElement& element, int mode, IUserInteraction& ui)
{
    return ReportOnFailure(m_error, ui, [&] { return SendElement(element, mode); });
}

bool CComm::DlgSendPosition(const std::string& xText, const std::string& yText, IUserInteraction& ui)
{
    return ReportOnFailure(m_error, ui, [&] { return SendPosition(xText, yText); });
}

bool CComm::DlgPositionDone(IUserInteraction& ui)
{
    return ReportOnFailure(m_error, ui, [&] { return PositionDone(); });
}

bool CComm::DlgEndEditing(IUserInteraction& ui)
{
    return ReportOnFailure(m_error, ui, [&] { return EndEditing(); });
}
