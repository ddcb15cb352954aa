// The order of Wayland toplevels that stands in for a stacking order.
#include <gtest/gtest.h>

#include "platform/wayland/ToplevelOrder.h"

namespace ordwell {
namespace {

TEST(ToplevelOrder, TheMostRecentlyActivatedComeFirstThenTheOthersAsAnnounced) {
    ToplevelOrder order;
    for (WindowId window = 1; window <= 4; ++window) {
        order.Announced(window);
    }
    EXPECT_EQ(order.Windows(), (std::vector<WindowId>{1, 2, 3, 4}));
    order.Activated(3);
    order.Activated(2);
    EXPECT_EQ(order.Windows(), (std::vector<WindowId>{2, 3, 1, 4}));
    // A window announced later follows every one seen active.
    order.Announced(5);
    order.Announced(2); // told again: stays where it is
    EXPECT_EQ(order.Windows(), (std::vector<WindowId>{2, 3, 1, 4, 5}));
    order.Activated(3);
    order.Activated(5);
    EXPECT_EQ(order.Windows(), (std::vector<WindowId>{5, 3, 2, 1, 4}));
    order.Closed(3);
    order.Closed(9); // never known
    order.Activated(9);
    EXPECT_EQ(order.Windows(), (std::vector<WindowId>{5, 2, 1, 4}));
}

} // namespace
} // namespace ordwell
