// A DDE server for the tests: owns the bus name of an application, serves the
// topics it is given, and records every execute string it receives.
//
//   ordwell_dde_test_server [options] APPLICATION TOPIC...
//     --bus ADDRESS     the bus to serve on (default: the session bus)
//     --record FILE     appends "Topic: text" for every execute string, with
//                       "\" written "\\", CR "\r", LF "\n" and any other
//                       control byte "\xHH"
//     --refuse TEXT     answers this execute string with an error
//     --slow TEXT       answers this execute string only after the delay
//     --delay MS        the delay of --slow (default 2000)
//     --exit-on TEXT    ends the server, unanswered, on this execute string
//     --interface NAME  serves the topics under another interface
//
// Prints "ready" once the name is owned, then "recorded N" after the Nth
// record is written (before the string is answered).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>
#include <vector>

#include "platform/dbus/DdeBusNames.h"

namespace {

struct Server {
    std::set<std::string> refused;
    std::set<std::string> slow;
    std::set<std::string> exitOn;
    std::uint64_t delayUsec = 2'000'000;
    std::FILE* record = nullptr;
    int records = 0;
    sd_event* event = nullptr;
};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int AnswerLater(sd_event_source*, std::uint64_t, void* data) {
    auto* call = static_cast<sd_bus_message*>(data);
    sd_bus_reply_method_return(call, nullptr);
    sd_bus_message_unref(call);
    return 0;
}

int Execute(sd_bus_message* call, void* data, sd_bus_error* error) {
    Server& server = *static_cast<Server*>(data);
    const char* text = nullptr;
    if (const int result = sd_bus_message_read(call, "s", &text); result < 0) {
        return result;
    }
    const std::string command(text);
    const std::string path(sd_bus_message_get_path(call));
    const std::string topic = ordwell::UnescapeBusLabel(path.substr(1)).value_or("?" + path);
    if (server.record != nullptr) {
        std::fprintf(server.record, "%s: %s\n", topic.c_str(), Escaped(command).c_str());
        std::fflush(server.record);
    }
    std::printf("recorded %d\n", ++server.records);
    std::fflush(stdout);
    if (server.exitOn.contains(command)) {
        std::exit(0);
    }
    if (server.refused.contains(command)) {
        return sd_bus_error_set(error, "org.ordwell.Test.Refused", "the test server refuses this string");
    }
    if (server.slow.contains(command)) {
        // Answered later: a handler that neither answers nor fails must
        // say it took the call, or the bus answers "unknown method".
        const int result = sd_event_add_time_relative(server.event, nullptr, CLOCK_MONOTONIC, server.delayUsec, 0,
                                                      AnswerLater, sd_bus_message_ref(call));
        return result < 0 ? result : 1;
    }
    return sd_bus_reply_method_return(call, nullptr);
}

const sd_bus_vtable kTopicVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Execute", "s", "", Execute, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

int Fail(const char* what, int result) {
    std::fprintf(stderr, "ordwell_dde_test_server: %s: %s\n", what, std::strerror(-result));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    Server server;
    std::string address;
    std::string interfaceName = ordwell::kDdeInterface;
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "--bus" && hasValue) {
            address = argv[++i];
        } else if (word == "--record" && hasValue) {
            server.record = std::fopen(argv[++i], "a");
        } else if (word == "--refuse" && hasValue) {
            server.refused.insert(argv[++i]);
        } else if (word == "--slow" && hasValue) {
            server.slow.insert(argv[++i]);
        } else if (word == "--delay" && hasValue) {
            server.delayUsec = std::strtoull(argv[++i], nullptr, 10) * 1000;
        } else if (word == "--exit-on" && hasValue) {
            server.exitOn.insert(argv[++i]);
        } else if (word == "--interface" && hasValue) {
            interfaceName = argv[++i];
        } else {
            names.push_back(word);
        }
    }
    if (names.size() < 2) {
        std::fputs("usage: ordwell_dde_test_server [options] APPLICATION TOPIC...\n", stderr);
        return 2;
    }
    const auto busName = ordwell::DdeBusName(names[0]);
    if (!busName) {
        std::fputs("ordwell_dde_test_server: the application name is too long\n", stderr);
        return 2;
    }

    sd_bus* bus = nullptr;
    int result = 0;
    if (address.empty()) {
        result = sd_bus_open_user(&bus);
    } else if ((result = sd_bus_new(&bus)) >= 0 && (result = sd_bus_set_address(bus, address.c_str())) >= 0 &&
               (result = sd_bus_set_bus_client(bus, 1)) >= 0) {
        result = sd_bus_start(bus);
    }
    if (result < 0) {
        return Fail("cannot connect to the bus", result);
    }
    for (size_t i = 1; i < names.size(); ++i) {
        const std::string path = ordwell::DdeObjectPath(names[i]);
        if ((result = sd_bus_add_object_vtable(bus, nullptr, path.c_str(), interfaceName.c_str(), kTopicVtable,
                                               &server)) < 0) {
            return Fail("cannot serve the topic", result);
        }
    }
    if ((result = sd_bus_request_name(bus, busName->c_str(), 0)) < 0) {
        return Fail("cannot own the name", result);
    }
    if ((result = sd_event_default(&server.event)) < 0 ||
        (result = sd_bus_attach_event(bus, server.event, SD_EVENT_PRIORITY_NORMAL)) < 0) {
        return Fail("cannot make the event loop", result);
    }
    std::puts("ready");
    std::fflush(stdout);
    result = sd_event_loop(server.event);
    return result < 0 ? Fail("the event loop failed", result) : 0;
}
