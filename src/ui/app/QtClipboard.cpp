#include "app/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QString CQtClipboard::MimeType(const std::string& format)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QString::fromStdString(format));
}

bool CQtClipboard::SetData(const std::string& format, const std::vector<uint8_t>& data)
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    auto* mime = new QMimeData;
    mime->setData(MimeType(format),
                  QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
    cb->setMimeData(mime);  // the clipboard takes ownership
    return true;
}

bool CQtClipboard::GetData(const std::string& format, std::vector<uint8_t>& data) const
{
    QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* mime = cb ? cb->mimeData() : nullptr;
    QString type = MimeType(format);
    if (!mime || !mime->hasFormat(type)) return false;
    QByteArray bytes = mime->data(type);
    data.assign(reinterpret_cast<const uint8_t*>(bytes.constData()),
                reinterpret_cast<const uint8_t*>(bytes.constData()) + bytes.size());
    return true;
}

bool CQtClipboard::HasFormat(const std::string& format) const
{
    QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* mime = cb ? cb->mimeData() : nullptr;
    return mime && mime->hasFormat(MimeType(format));
}
