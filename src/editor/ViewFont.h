#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ordwell {

// The font of the macro list as the setting "ViewFont" (section "System")
// stores it: the fields of a Windows LOGFONT record, fourteen in all,
// separated by commas: height, width, escapement, orientation, weight,
// italic, underline, strike-out, character set, output precision, clip
// precision, quality, pitch and family, face name. A negative height is the
// character height in pixels, a positive one the cell height.
struct FontRecord {
    std::int32_t height = -11;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 1;
    std::uint8_t clipPrecision = 2;
    std::uint8_t quality = 1;
    std::uint8_t pitchAndFamily = 34;
    std::string faceName = "MS Sans Serif";

    friend bool operator==(const FontRecord&, const FontRecord&) = default;
};

inline constexpr std::string_view kViewFontSection = "System";
inline constexpr std::string_view kViewFontKey = "ViewFont";
inline constexpr std::string_view kDefaultViewFont = "-11,0,0,0,400,0,0,0,0,1,2,1,34,MS Sans Serif";

// Reads the stored text into the record. Commas separate the fields, and
// empty fields are skipped; each number is read as its leading whole number
// (0 without one), a byte field keeps its low byte, and the face name is the
// whole fourteenth field. Fields that are missing leave the record as it
// was; fields past the fourteenth are ignored.
void ReadViewFont(std::string_view text, FontRecord& record);
// The text stored for the record.
std::string FormatViewFont(const FontRecord& record);

} // namespace ordwell
