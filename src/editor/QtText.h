#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ordwell {

// Macro text is UTF-8 bytes; the widgets show it as QString.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace ordwell
