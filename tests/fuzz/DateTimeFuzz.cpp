// Fuzz target for the date and time texts of macros: the first 8 bytes are
// the current moment (seconds since 1970, any value), the rest a text read
// as a date, as a time, and used as a strftime format. None may crash, and
// a format's result stays within the bound every conversion keeps to.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "actions/DateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int64_t now = 0;
    if (size < sizeof now) {
        return 0;
    }
    std::memcpy(&now, data, sizeof now);
    const std::string_view text(reinterpret_cast<const char*>(data) + sizeof now, size - sizeof now);

    (void)ordwell::ParseMacroDate(text, now);
    (void)ordwell::ParseMacroTime(text, now);
    // A short text stands for the moment itself.
    if (text.size() < 8 && (ordwell::ParseMacroDate(text, now) != now || ordwell::ParseMacroTime(text, now) != now)) {
        std::abort();
    }
    const std::string formatted = ordwell::FormatLocalTime(now, text);
    if (formatted.size() > 1024 * (text.size() + 64)) {
        std::abort();
    }
    return 0;
}
