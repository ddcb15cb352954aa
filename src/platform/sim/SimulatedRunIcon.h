#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/RunIcon.h"

namespace ordwell {

// Run icons a test can see and click.
class SimulatedRunIcon final : public RunIcon {
public:
    int Add(const std::string& tooltip, std::function<void()> onClick) override;
    void Remove(int id) override { m_icons.erase(id); }

    // The tooltips of the icons shown now, oldest first.
    std::vector<std::string> Shown() const;
    // Clicks the newest icon, as a user clicks the icon of the run in front.
    void ClickNewest();
    int EverShown() const { return m_nextId; }

private:
    struct Icon {
        std::string tooltip;
        std::function<void()> onClick;
    };
    std::map<int, Icon> m_icons;
    int m_nextId = 0;
};

} // namespace ordwell
