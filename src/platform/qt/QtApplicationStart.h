#pragma once

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace ordwell {

// The program's QApplication, started on the platform chosen for the display
// that answered ("xcb", "wayland"; empty: Qt picks), with the arguments Qt
// keeps referring to. Should the display go away before Qt is connected (or
// Qt lack its Wayland plugin), the program ends with a word on why instead of
// Qt's abort. Qt starts no session bus of its own; closing a box does not end
// the program. Needs a QtMessageRoute.
class QtApplicationStart final {
public:
    QtApplicationStart(int argc, char** argv, const std::string& platform);
    ~QtApplicationStart();
    QtApplicationStart(const QtApplicationStart&) = delete;
    QtApplicationStart& operator=(const QtApplicationStart&) = delete;

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_argv;
    int m_argc = 0;
    std::unique_ptr<QApplication> m_application;
};

} // namespace ordwell
