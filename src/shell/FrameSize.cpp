#include "FrameSize.h"

namespace ordwell {

FrameSize MinimumFrameSize(int visibleToolbars, int mainToolbarHeight) {
    return {visibleToolbars < 3 ? 470 : 450, mainToolbarHeight * visibleToolbars + 360};
}

} // namespace ordwell
