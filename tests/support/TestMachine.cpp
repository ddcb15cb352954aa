#include "TestMachine.h"

#include <ctime>

#include "actions/ActionCommands.h"
#include "dde/DdeCommands.h"
#include "input/InputCommands.h"

namespace ordwell::test {

TestMachine::TestMachine(Registry& registry)
    : m_settings(registry),
      m_paths([this](char letter) { return m_settings.GetString("Drives", std::string(1, letter), ""); }),
      m_engine(std::make_unique<Engine>(m_sim.Wire(m_stack, registry, m_files, m_paths))) {
    BindActionCommands(*m_engine);
    BindDdeCommands(*m_engine);
    BindInputCommands(*m_engine);
    m_sim.clock.SetNow(LocalTime(1998, 1, 22, 13, 5, 0));
}

std::int64_t TestMachine::LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

} // namespace ordwell::test
