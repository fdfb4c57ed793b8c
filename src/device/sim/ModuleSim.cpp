#include "sim/ModuleSim.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "comm/Comm.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "r3964/C3964R.h"
#include "r3964/StopEvent.h"
#include "serial/Port.h"
#include "transfer/ModuleDirectory.h"
#include "util/FileSystem.h"
#include "util/Strings.h"

using namespace r3964;
using namespace std::chrono;

namespace {

// 11 bits (start, 8 data, parity, stop) at 9600 baud.
constexpr auto kByteTime = microseconds(1146);

std::string Hex(const std::vector<uint8_t>& t, size_t max = 24)
{
    std::string s;
    char buf[4];
    for (size_t i = 0; i < t.size() && i < max; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", t[i]);
        if (i) s += ' ';
        s += buf;
    }
    if (t.size() > max) s += " ... (" + std::to_string(t.size()) + " bytes)";
    return s;
}

std::string Printable(const uint8_t* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s += (p[i] >= 0x20 && p[i] < 0x7F) ? static_cast<char>(p[i]) : '?';
    return s;
}

// The identifier a load or delete request names: the type decides the
// first letter or the whole name.
std::string IdentifierOf(uint8_t type, const uint8_t* b)
{
    switch (type) {
    case 1: return "SDAT";
    case 128: return "XTEX";
    case 129: return "ASYM";
    case 132: return "FSYM";
    case 3: return OptionIdentifier(b[0]);
    case 2: return "B" + std::string(reinterpret_cast<const char*>(b), 3);
    case 9:
    case 10: return "T" + std::string(reinterpret_cast<const char*>(b), 3);
    case 11: return "P" + std::string(reinterpret_cast<const char*>(b), 3);
    case 12: return "G" + std::string(reinterpret_cast<const char*>(b), 3);
    default: return {};
    }
}

// The type a stored list answers to in a delete request.
uint8_t TypeOf(const std::string& id, const std::vector<uint8_t>& image)
{
    if (OptionCode(id) >= 0) return 3;
    if (id == "SDAT") return 1;
    if (id == "XTEX") return 128;
    if (id == "ASYM") return 129;
    if (id == "FSYM") return 132;
    switch (id[0]) {
    case 'B': return 2;
    case 'T': return !image.empty() && image[0] == 10 ? 10 : 9;
    case 'P': return 11;
    case 'G': return 12;
    default: return 0;
    }
}

bool MatchesSelector(const std::string& id, const std::vector<uint8_t>& image, char kind)
{
    uint8_t type = TypeOf(id, image);
    switch (kind) {
    case 'B': return type == 2;
    case 'T': return type == 9 || type == 10;
    case 'G': return type == 12;
    case 'P': return type == 11;
    case 'C': return type == 3;
    default: return false;
    }
}

}  // namespace

bool ParseSimFault(const std::string& text, SimFaultSpec& out)
{
    static const struct {
        const char* name;
        SimFault kind;
    } names[] = {{"no-enq-answer", SimFault::noEnqAnswer}, {"nak-stx", SimFault::nakStx},
                 {"bad-bcc", SimFault::badBcc},            {"no-final-dle", SimFault::noFinalDle},
                 {"stall", SimFault::stall},               {"bad-answer", SimFault::badAnswer}};
    std::string name = text;
    int at = 0;
    size_t sep = text.find('@');
    if (sep != std::string::npos) {
        name = text.substr(0, sep);
        std::string n = text.substr(sep + 1);
        if (n.empty() || n.size() > 6 || n.find_first_not_of("0123456789") != std::string::npos) return false;
        at = std::stoi(n);
        if (at < 1) return false;
    }
    for (const auto& n : names)
        if (name == n.name) {
            out.kind = n.kind;
            out.at = at;
            return true;
        }
    return false;
}

std::string DescribeTelegram(const std::vector<uint8_t>& t, bool fromPc)
{
    std::string hex = Hex(t);
    if (!fromPc || t.empty()) return hex;
    const size_t n = t.size();
    std::string what;
    switch (t[0]) {
    case 0x00: what = n == 1 ? "closing telegram" : ""; break;
    case 0x01: what = n == 1 ? "start online picture configuration" : ""; break;
    case 0x02:
        if (n == 7)
            what = "load request type " + std::to_string(t[1]) + " " +
                   Printable(t.data() + 2, 3) + ", " + std::to_string(GetU16(&t[5])) + " bytes";
        else if (n == 2)
            what = "picture start request";
        else if (n == 3)
            what = "picture start, background colour " + std::to_string(t[2]);
        break;
    case 0x03:
        if (n == 5)
            what = "delete request type " + std::to_string(t[1]);
        else if (n == 6 && t[1] == 0x20)
            what = "position x " + std::to_string(GetU16(&t[2])) + " y " + std::to_string(GetU16(&t[4]));
        else if (n == 2 && t[1] == 0x0A)
            what = "position done";
        break;
    case 0x04: what = n == 1 ? "configuration state query" : "display switch " + std::to_string(n > 1 ? t[1] : 0); break;
    case 0x0B: what = "end of editing"; break;
    case 0x0C: what = "element done"; break;
    case 'P': what = n == 7 ? "read request " + Printable(t.data() + 1, 4) : ""; break;
    case 'S': what = n == 7 ? "read data request " + Printable(t.data() + 1, 4) : ""; break;
    case 0x60: what = "directory request " + Printable(t.data() + 1, t[3] == 0 ? 2 : 4); break;
    case 'b': what = "next directory entry"; break;
    case 0x81: what = "system block"; break;
    case 0x82: what = "single symbol"; break;
    case 0x83: what = "symbol"; break;
    case 0x85: what = "window"; break;
    case 0x86: what = "V-field"; break;
    case 0x89: what = "bar"; break;
    default: break;
    }
    return what.empty() ? hex : hex + "   " + what;
}

CModuleSim::CModuleSim(IPort& port, ModuleSimOptions options, Log log)
    : m_port(port), m_opt(std::move(options)), m_log(std::move(log))
{
    for (std::string& e : m_opt.eprom) e = ToUpper(e);
    LoadStore();
}

void CModuleSim::Logf(const std::string& text)
{
    if (m_log) m_log(text);
}

// ------------------------------------------------------------ store

void CModuleSim::LoadStore()
{
    if (m_opt.storeDir.empty()) return;
    fsx::MakeDirectories(m_opt.storeDir);
    for (const fsx::DirEntry& e : fsx::FindFiles(m_opt.storeDir, "*.lst")) {
        if (e.isDirectory || e.name.size() != 8) continue;
        std::string id = ToUpper(e.name.substr(0, 4));
        if (!IsSafeModuleIdentifier(id)) continue;
        std::vector<uint8_t> data;
        if (!fsx::ReadWholeFile(fsx::JoinPath(m_opt.storeDir, e.name), data) || data.size() > 0xFFFF) continue;
        m_lists[id] = std::move(data);
    }
}

void CModuleSim::SaveList(const std::string& id)
{
    if (m_opt.storeDir.empty()) return;
    const auto& data = m_lists[id];
    fsx::WriteFileAtomic(fsx::JoinPath(m_opt.storeDir, id + ".LST"), data.data(), data.size());
}

void CModuleSim::RemoveList(const std::string& id)
{
    m_lists.erase(id);
    if (!m_opt.storeDir.empty()) fsx::RemoveFile(fsx::ResolvePath(fsx::WithSlash(m_opt.storeDir), id + ".LST"));
}

uint32_t CModuleSim::UsedMemory() const
{
    uint32_t used = 0;
    for (const auto& [id, data] : m_lists) used += static_cast<uint32_t>(data.size());
    return used;
}

bool CModuleSim::HasList(const std::string& identifier) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lists.count(ToUpper(identifier)) != 0;
}

std::vector<uint8_t> CModuleSim::ListImage(const std::string& identifier) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_lists.find(ToUpper(identifier));
    return it == m_lists.end() ? std::vector<uint8_t>() : it->second;
}

void CModuleSim::PutList(const std::string& identifier, const std::vector<uint8_t>& image)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lists[ToUpper(identifier)] = image;
    SaveList(ToUpper(identifier));
}

std::vector<std::string> CModuleSim::Identifiers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> ids;
    for (const auto& [id, data] : m_lists) ids.push_back(id);
    return ids;
}

std::vector<uint8_t> CModuleSim::KeyCodes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keys;
}

std::vector<std::vector<uint8_t>> CModuleSim::Received() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

uint64_t CModuleSim::LineBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lineBytes;
}

std::string CModuleSim::Designation(const std::vector<uint8_t>& image) const
{
    if (image.empty()) return {};
    switch (image[0]) {
    case 2:
    case 9:
    case 10:
    case 11:
    case 12:
        try {
            CByteReader in(image);
            ListHeaderEx h;
            h.Read(in);
            std::string name = TrimRight(h.name);
            if (name.size() > 31) name.resize(31);
            return name;
        } catch (const std::exception&) {
            return {};
        }
    default:
        return {};
    }
}

std::vector<uint8_t> CModuleSim::DirectoryEntry(const std::string& id) const
{
    const auto& image = m_lists.at(id);
    std::string name = Designation(image);
    std::vector<uint8_t> e {'b'};
    e.insert(e.end(), id.begin(), id.end());
    e.push_back(static_cast<uint8_t>(image.size() & 0xFF));
    e.push_back(static_cast<uint8_t>(image.size() >> 8));
    e.push_back(static_cast<uint8_t>(name.size() + 1));
    e.insert(e.end(), name.begin(), name.end());
    return e;
}

// ------------------------------------------------------------ line

bool CModuleSim::FaultAt(SimFault kind, int number) const
{
    for (const SimFaultSpec& f : m_opt.faults)
        if (f.kind == kind && (f.at == 0 || f.at == number)) return true;
    return false;
}

int CModuleSim::ReadByteWait(microseconds timeout, CManualResetEvent* stop)
{
    if (!stop) stop = m_stop;
    // On a paced line the bytes already taken are still on their way: the
    // wait for the next one starts when the last one would have arrived.
    auto until = (m_opt.pace ? std::max(Clock::now(), m_rxDeliveredAt) : Clock::now()) + timeout;
    for (;;) {
        if (stop && stop->IsSet()) return -1;
        int c = m_port.ReadByte();
        if (c >= 0) {
            if (m_opt.pace) {
                // The byte cannot have arrived before the line delivered it.
                auto now = Clock::now();
                m_rxDeliveredAt = std::max(now, m_rxDeliveredAt) + kByteTime;
            }
            m_lastByteAt = Clock::now();
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_lineBytes;
            return c;
        }
        auto now = Clock::now();
        if (now >= until) return -1;
        // Poll finely while a conversation runs, gently when the line is idle,
        // and hardly at all when nobody has talked for a while (the PC's
        // first wait for an answer is 100 ms and more).
        auto idle = now - m_lastByteAt;
        std::this_thread::sleep_for(idle > seconds(1)        ? microseconds(10000)
                                    : idle > milliseconds(50) ? microseconds(2000)
                                                              : microseconds(100));
    }
}

void CModuleSim::Put(uint8_t b)
{
    if (m_opt.pace) {
        auto at = std::max({Clock::now(), m_txFreeAt, m_rxDeliveredAt}) + kByteTime;
        std::this_thread::sleep_until(at);
        m_txFreeAt = at;
    }
    m_port.WriteByte(b);
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_lineBytes;
}

// After the PC's STX: answer DLE, take the frame, check it and acknowledge.
bool CModuleSim::ReceiveFrame(std::vector<uint8_t>& payload)
{
    const int number = m_framesDone + 1;
    if (FaultAt(SimFault::nakStx, number)) {
        Put(NAK);
        Logf("fault: NAK to STX of frame " + std::to_string(number));
        // After the PC's third try this frame is over.
        if (++m_stxNaks >= 3) {
            m_stxNaks = 0;
            ++m_framesDone;
        }
        return false;
    }
    m_stxNaks = 0;
    Put(DLE);
    payload.clear();
    uint8_t bcc = 0;
    int end = -1;
    while (end < 0) {
        int c = ReadByteWait(m_opt.characterWait);
        if (c < 0) {
            Logf("frame broken off after " + std::to_string(payload.size()) + " bytes");
            return false;
        }
        bcc ^= static_cast<uint8_t>(c);
        if (c == DLE) {
            int c2 = ReadByteWait(m_opt.characterWait);
            if (c2 < 0) return false;
            if (c2 == DLE) {
                bcc ^= DLE;
                payload.push_back(DLE);
            } else {
                end = c2;
                bcc ^= static_cast<uint8_t>(c2);
            }
        } else {
            payload.push_back(static_cast<uint8_t>(c));
        }
        if (payload.size() > 0xFFFF) {
            Logf("frame too long");
            return false;
        }
    }
    int check = ReadByteWait(m_opt.characterWait);
    ++m_framesDone;
    if (end != ETX && end != ETB) {
        Logf("frame not ended by DLE ETX");
        Put(NAK);
        return false;
    }
    if (check < 0 || static_cast<uint8_t>(check) != bcc) {
        Logf("wrong block check from the PC: NAK");
        Put(NAK);
        return false;
    }
    if (FaultAt(SimFault::noFinalDle, number)) {
        Logf("fault: no DLE after frame " + std::to_string(number));
        return false;
    }
    // The final DLE is sent by the caller once the telegram is recorded
    // (and a list stored), so that an acknowledged load is really there.
    return true;
}

bool CModuleSim::SendFrame(std::vector<uint8_t> payload)
{
    const int number = m_answerTo;
    if (FaultAt(SimFault::badAnswer, number) && !payload.empty()) {
        Logf("fault: unexpected answer code instead of " + Hex({payload[0]}));
        payload[0] = 0x7E;
    }
    Logf("PX920> " + DescribeTelegram(payload, false));
    bool connected = false;
    for (int attempt = 0; attempt < 3 && !connected; ++attempt) {
        Put(STX);
        int c = ReadByteWait(m_opt.characterWait);
        connected = c == DLE;
    }
    if (!connected) {
        Logf("the PC did not answer STX");
        return false;
    }
    uint8_t bcc = 0;
    size_t stallAt = FaultAt(SimFault::stall, number) ? payload.size() / 2 : payload.size() + 1;
    for (size_t i = 0; i < payload.size(); ++i) {
        if (i == stallAt) {
            Logf("fault: stalled after " + std::to_string(i) + " bytes");
            return false;
        }
        Put(payload[i]);
        bcc ^= payload[i];
        if (payload[i] == DLE) {
            Put(DLE);
            bcc ^= DLE;
        }
    }
    if (stallAt == payload.size()) {  // an empty or one-byte frame stalls before its end
        Logf("fault: stalled before the frame end");
        return false;
    }
    Put(DLE);
    Put(ETX);
    bcc ^= DLE ^ ETX;
    if (FaultAt(SimFault::badBcc, number)) {
        Logf("fault: wrong block check");
        bcc ^= 0xFF;
    }
    Put(bcc);
    int answer = ReadByteWait(m_opt.characterWait);
    if (answer != DLE) {
        Logf(answer == NAK ? "the PC answered NAK" : "the PC did not acknowledge");
        return false;
    }
    return true;
}

void CModuleSim::Run(CManualResetEvent& stop)
{
    m_stop = &stop;
    while (!stop.IsSet()) {
        int c = ReadByteWait(milliseconds(200), &stop);
        if (c < 0) continue;
        if (c == ENQ) {
            ++m_enqCount;
            if (FaultAt(SimFault::noEnqAnswer, m_enqCount)) {
                Logf("fault: ENQ not answered");
                continue;
            }
            Put(ACK);
            Logf("ENQ -> ACK");
            continue;
        }
        if (c == STX) {
            std::vector<uint8_t> t;
            if (!ReceiveFrame(t)) continue;
            m_answerTo = m_framesDone;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.push_back(t);
            }
            Logf("PC   > " + DescribeTelegram(t, true));
            bool stored = StoreLoadData(t);
            Put(DLE);
            if (!stored) Handle(t);
            continue;
        }
        // Outside any frame: the operator keyboard sends bare key codes.
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_keys.push_back(static_cast<uint8_t>(c));
        }
        char buf[40];
        std::snprintf(buf, sizeof buf, "key code %02Xh", c);
        Logf(buf);
    }
}

// ------------------------------------------------------------ telegrams

bool CModuleSim::StoreLoadData(const std::vector<uint8_t>& t)
{
    // The data frame of a load follows its accepted request.
    if (m_pendingLoad.empty()) return false;
    std::string id = m_pendingLoad;
    m_pendingLoad.clear();
    const size_t n = t.size();
    if (n == m_pendingLoadLength) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lists[id] = t;
        SaveList(id);
    }
    Logf(n == m_pendingLoadLength ? "stored " + id + ", " + std::to_string(n) + " bytes"
                                  : "load of " + id + " dropped: " + std::to_string(n) + " bytes instead of " +
                                        std::to_string(m_pendingLoadLength));
    return true;
}

void CModuleSim::Handle(const std::vector<uint8_t>& t)
{
    const size_t n = t.size();
    auto ack = [this] { SendFrame({0x03, 0x00}); };
    auto elementAck = [this] {
        if (m_opt.elementError >= 0)
            SendFrame({0x07, static_cast<uint8_t>(m_opt.elementError)});
        else
            SendFrame({0x03, 0x00});
    };

    if (n == 0) return;
    if (t[0] != 'S') m_pendingRead.clear();

    switch (t[0]) {
    case 0x00:
        if (n == 1) {
            Logf("closing telegram");
            m_dirOpen = false;
        }
        return;
    case 0x01:
        if (m_opt.refuseOnline) {
            SendFrame({0x01, 0x00});
            return;
        }
        if (SendFrame({0x00, 0x00})) SendFrame({0x81, 0x00, 0x80});
        return;
    case 0x81:
        elementAck();
        return;
    case 0x02:
        if (n == 2 && t[1] == 0x00) {
            SendFrame({0x02, 0x11});
        } else if (n == 3 && t[1] == 0x11) {
            ack();
        } else if (n == 7) {
            std::string id = IdentifierOf(t[1], &t[2]);
            uint16_t length = GetU16(&t[5]);
            uint8_t reason = 0;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (id.empty() || !IsSafeModuleIdentifier(id))
                    reason = 252;
                else if (m_lists.count(id))
                    reason = 253;
                else if (std::find(m_opt.eprom.begin(), m_opt.eprom.end(), id) != m_opt.eprom.end())
                    reason = 254;
                else if (UsedMemory() + length > m_opt.memorySize)
                    reason = 255;
            }
            if (reason) {
                SendFrame({0x01, reason});
            } else if (SendFrame({0x00, 0x00})) {
                m_pendingLoad = id;
                m_pendingLoadLength = length;
            }
        }
        return;
    case 0x03:
        if (n == 5) {
            std::string id = IdentifierOf(t[1], &t[2]);
            bool deleted = false;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                auto it = id.empty() ? m_lists.end() : m_lists.find(id);
                if (it != m_lists.end() && TypeOf(id, it->second) == t[1]) {
                    RemoveList(id);
                    deleted = true;
                }
            }
            if (deleted) Logf("deleted " + id);
            SendFrame(deleted ? std::vector<uint8_t> {0x00, 0x00} : std::vector<uint8_t> {0x01, 0xFF});
        } else if ((n == 6 && t[1] == 0x20) || (n == 2 && t[1] == 0x0A)) {
            ack();
        }
        return;
    case 0x04:
        if (n == 1)
            SendFrame({static_cast<uint8_t>(m_opt.configState), 0x00});
        else
            ack();
        return;
    case 0x0B:
    case 0x0C:
        ack();
        return;
    case 0x82:
    case 0x83:
    case 0x85:
    case 0x86:
    case 0x89:
        elementAck();
        return;
    case 'P':
        if (n == 7) {
            std::string id = ToUpper(std::string(reinterpret_cast<const char*>(&t[1]), 4));
            if (HasList(id)) {
                std::vector<uint8_t> image = ListImage(id);
                m_pendingRead = id;
                SendFrame({'P', t[1], t[2], t[3], t[4], static_cast<uint8_t>(image.size() & 0xFF),
                           static_cast<uint8_t>(image.size() >> 8)});
            } else {
                SendFrame({'_', 0, 0, 0, 0, 0, 0});
            }
        }
        return;
    case 'S':
        if (n == 7 && !m_pendingRead.empty()) {
            std::string id = m_pendingRead;
            m_pendingRead.clear();
            SendFrame(ListImage(id));
        }
        return;
    case 0x60:
        if (n == 7) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_dirIds.clear();
                m_dirPos = 0;
                if (t[2] == '*' && t[3] == 0) {
                    for (const auto& [id, image] : m_lists)
                        if (MatchesSelector(id, image, static_cast<char>(t[1]))) m_dirIds.push_back(id);
                } else {
                    std::string id = ToUpper(std::string(reinterpret_cast<const char*>(&t[1]), 4));
                    if (m_lists.count(id)) m_dirIds.push_back(id);
                }
                std::copy(t.begin() + 1, t.end(), m_dirToken);
                m_dirOpen = true;
            }
            SendFrame(t);
        }
        return;
    case 'b':
        if (n == 7) {
            std::vector<uint8_t> answer {'o'};
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_dirOpen && std::equal(t.begin() + 1, t.end(), m_dirToken) && m_dirPos < m_dirIds.size()) {
                    const std::string& id = m_dirIds[m_dirPos++];
                    if (m_lists.count(id)) answer = DirectoryEntry(id);
                }
            }
            SendFrame(answer);
        }
        return;
    default:
        Logf("unknown telegram, not answered");
        return;
    }
}
