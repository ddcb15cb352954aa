#include "QtToolkit.h"

#include <QApplication>

namespace ordwell {

QtToolkit::QtToolkit(const ToolkitStart& start)
    : m_route(*start.diagnostics), m_application(start.argc, start.argv, start.platform), m_pump(start.stopFd),
      m_dialogs(*start.windows, start.stopFd) {}

QtToolkit::~QtToolkit() = default;

std::string QtToolkit::PlatformName() const {
    return QApplication::platformName().toStdString();
}

} // namespace ordwell
