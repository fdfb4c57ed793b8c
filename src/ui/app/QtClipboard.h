#pragma once
#include <QString>

#include "model/Clipboard.h"

// The system clipboard for the node model. A format name such as
// "PX920_VFELD" travels as the MIME type
// application/x-qt-windows-mime;value="PX920_VFELD", so two running
// programs (and the same program on other platforms) share entries.
class CQtClipboard : public IClipboard {
public:
    bool SetData(const std::string& format, const std::vector<uint8_t>& data) override;
    bool GetData(const std::string& format, std::vector<uint8_t>& data) const override;
    bool HasFormat(const std::string& format) const override;

    static QString MimeType(const std::string& format);
};
