#include "FontMapping.h"

#include <QFontInfo>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "QtText.h"

namespace ordwell {

QFont FontFromRecord(const FontRecord& record, const QFont& base) {
    QFont font = base;
    if (!record.faceName.empty()) {
        font.setFamilies(QStringList{ToQString(record.faceName)});
    }
    if (record.height != 0) {
        font.setPixelSize(std::clamp(std::abs(record.height), 1, 1000));
    }
    if (record.weight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000)));
    }
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

FontRecord RecordFromFont(const QFont& font, FontRecord record) {
    record.height = -QFontInfo(font).pixelSize();
    record.weight = static_cast<std::int32_t>(font.weight());
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    record.faceName = ToUtf8(font.family());
    return record;
}

} // namespace ordwell
