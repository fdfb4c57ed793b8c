#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The system clipboard as the node model sees it: byte blocks under
// registered format names ("PX920_VFELD", ...).
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual bool SetData(const std::string& format, const std::vector<uint8_t>& data) = 0;
    virtual bool GetData(const std::string& format, std::vector<uint8_t>& data) const = 0;
    virtual bool HasFormat(const std::string& format) const = 0;
};

// A clipboard inside the process; the command-line tool and the tests use it.
class CMemoryClipboard : public IClipboard {
public:
    bool SetData(const std::string& format, const std::vector<uint8_t>& data) override
    {
        m_data.clear();  // like the system clipboard: a new copy replaces everything
        m_data[format] = data;
        return true;
    }
    bool GetData(const std::string& format, std::vector<uint8_t>& data) const override
    {
        auto it = m_data.find(format);
        if (it == m_data.end()) return false;
        data = it->second;
        return true;
    }
    bool HasFormat(const std::string& format) const override { return m_data.count(format) != 0; }

private:
    std::map<std::string, std::vector<uint8_t>> m_data;
};

// Registers a clipboard format name and returns its id (stable within the
// process, 0xC000 upwards as registered formats are numbered).
unsigned RegisterClipboardFormat(const std::string& name);
