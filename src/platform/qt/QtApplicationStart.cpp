#include "QtApplicationStart.h"

#include <QApplication>

#include "QtBusAutolaunchGuard.h"
#include "QtMessageRoute.h"

namespace ordwell {

namespace {

// The exit status of a program that could not start for want of a display,
// as for the editor asked for with none.
constexpr int kNoDisplayStatus = 2;

} // namespace

QtApplicationStart::QtApplicationStart(int argc, char** argv, const std::string& platform)
    : m_arguments(argv, argv + argc) {
    if (!platform.empty()) {
        m_arguments.insert(m_arguments.end(), {"-platform", platform});
    }
    for (std::string& argument : m_arguments) {
        m_argv.push_back(argument.data());
    }
    m_argv.push_back(nullptr);
    m_argc = static_cast<int>(m_arguments.size());
    {
        const QtMessageRoute::FatalExit fatal(
            kNoDisplayStatus, platform == "wayland"
                                  ? "Qt cannot show windows on the Wayland display (is qt6-wayland installed?)"
                                  : "the display went away as the program started");
        const QtBusAutolaunchGuard noBusOfQtsOwn;
        m_application = std::make_unique<QApplication>(m_argc, m_argv.data());
    }
    QApplication::setQuitOnLastWindowClosed(false);
}

QtApplicationStart::~QtApplicationStart() = default;

} // namespace ordwell
