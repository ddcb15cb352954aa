#pragma once

#include <QFont>

#include "ViewFont.h"

namespace ordwell {

// The stored font record as a font of this desktop, and back: the height in
// pixels (a negative height is the character height, a positive one the
// cell height, which is near enough), weight, italic, underline, strike-out
// and the family name; the other fields keep their stored values.
QFont FontFromRecord(const FontRecord& record, const QFont& base);
FontRecord RecordFromFont(const QFont& font, FontRecord record = {});

} // namespace ordwell
