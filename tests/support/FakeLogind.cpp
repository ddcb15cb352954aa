// A stand-in for systemd-logind on a private bus, for tests: it answers
// CanPowerOff and CanReboot with the answer it was given, writes every call
// it receives to standard output, one line each, and turns nothing off.
//
//   fake_logind BUS-ADDRESS CAN-ANSWER
//
// It writes "ready" once it owns the name org.freedesktop.login1, and ends
// when the bus goes away.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <systemd/sd-bus.h>

namespace {

std::string g_answer;

void Record(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int Can(sd_bus_message* call, void*, sd_bus_error*) {
    Record(sd_bus_message_get_member(call));
    return sd_bus_reply_method_return(call, "s", g_answer.c_str());
}

int TurnOff(sd_bus_message* call, void*, sd_bus_error*) {
    int interactive = 0;
    const int read = sd_bus_message_read(call, "b", &interactive);
    if (read < 0) {
        return read;
    }
    Record(std::string(sd_bus_message_get_member(call)) + (interactive ? " interactive" : " quietly"));
    return sd_bus_reply_method_return(call, "");
}

int GetSessionByPid(sd_bus_message* call, void*, sd_bus_error*) {
    std::uint32_t pid = 0;
    const int read = sd_bus_message_read(call, "u", &pid);
    if (read < 0) {
        return read;
    }
    Record("GetSessionByPID " + std::to_string(pid));
    return sd_bus_reply_method_return(call, "o", "/org/freedesktop/login1/session/_31");
}

int Terminate(sd_bus_message* call, void*, sd_bus_error*) {
    Record(std::string("Terminate ") + sd_bus_message_get_path(call));
    return sd_bus_reply_method_return(call, "");
}

const sd_bus_vtable kManager[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("CanPowerOff", "", "s", Can, 0),
    SD_BUS_METHOD("CanReboot", "", "s", Can, 0),
    SD_BUS_METHOD("PowerOff", "b", "", TurnOff, 0),
    SD_BUS_METHOD("Reboot", "b", "", TurnOff, 0),
    SD_BUS_METHOD("GetSessionByPID", "u", "o", GetSessionByPid, 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable kSession[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Terminate", "", "", Terminate, 0),
    SD_BUS_VTABLE_END,
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fake_logind BUS-ADDRESS CAN-ANSWER\n");
        return 2;
    }
    g_answer = argv[2];
    sd_bus* bus = nullptr;
    if (sd_bus_new(&bus) < 0 || sd_bus_set_address(bus, argv[1]) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
        sd_bus_start(bus) < 0 ||
        sd_bus_add_object_vtable(bus, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", kManager,
                                 nullptr) < 0 ||
        sd_bus_add_fallback_vtable(bus, nullptr, "/org/freedesktop/login1/session", "org.freedesktop.login1.Session",
                                   kSession, nullptr, nullptr) < 0 ||
        sd_bus_request_name(bus, "org.freedesktop.login1", 0) < 0) {
        std::fprintf(stderr, "fake_logind: cannot serve on %s\n", argv[1]);
        return 1;
    }
    Record("ready");
    for (;;) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            break;
        }
        if (processed == 0 && sd_bus_wait(bus, UINT64_MAX) < 0) {
            break;
        }
    }
    sd_bus_flush_close_unref(bus);
    return 0;
}
