// How DDE names become bus names and object paths, and how an introspection
// document is read.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <systemd/sd-bus.h>
#include <vector>

#include "platform/dbus/DdeBusNames.h"
#include "platform/dbus/DdeIntrospection.h"

namespace ordwell {
namespace {

TEST(DdeBusNames, EscapeWhatDBusDoesNotAllow) {
    const std::pair<std::string, std::string> rows[] = {
        {"Shop", "Shop"},       {"WinWord97", "WinWord97"},
        {"My App", "My_20App"}, {"1st", "_31st"},
        {"_x", "_5fx"},         {"", "_"},
        {"a.b-c", "a_2eb_2dc"}, {"Grüße", "Gr_c3_bc_c3_9fe"},
        {"C:\\x", "C_3a_5cx"},
    };
    for (const auto& [text, label] : rows) {
        EXPECT_EQ(EscapeBusLabel(text), label) << text;
        EXPECT_EQ(UnescapeBusLabel(label), text) << label;
    }
    EXPECT_EQ(DdeBusName("My App"), "org.ordwell.dde.My_20App");
    EXPECT_EQ(DdeObjectPath("Orders/2024"), "/Orders_2f2024");
    EXPECT_EQ(DdeObjectPath(""), "/_");
}

TEST(DdeBusNames, EveryTextHasOneValidFormThatLeadsBack) {
    std::vector<std::string> texts;
    for (int first = 0; first < 256; ++first) {
        texts.emplace_back(1, static_cast<char>(first));
        for (const char second : {'0', 'a', '_', '\0', '\xff'}) {
            texts.push_back(std::string(1, static_cast<char>(first)) + second);
        }
    }
    std::set<std::string> labels;
    for (const std::string& text : texts) {
        const std::string label = EscapeBusLabel(text);
        EXPECT_TRUE(labels.insert(label).second) << label;
        EXPECT_EQ(UnescapeBusLabel(label), text) << label;
        const std::optional<std::string> busName = DdeBusName(text);
        ASSERT_TRUE(busName.has_value());
        EXPECT_GT(sd_bus_service_name_is_valid(busName->c_str()), 0) << *busName;
        EXPECT_GT(sd_bus_object_path_is_valid(DdeObjectPath(text).c_str()), 0) << DdeObjectPath(text);
    }
}

TEST(DdeBusNames, LabelsNoEscapeMakesStandForNoText) {
    for (const char* label : {"_41", "_4", "_zz", "_4G", "_5F", "__", "a_", "_3", "_5f_"}) {
        EXPECT_FALSE(UnescapeBusLabel(label).has_value()) << label;
    }
}

TEST(DdeBusNames, BusNamesKeepToTheirLength) {
    EXPECT_TRUE(DdeBusName(std::string(239, 'a')).has_value());
    EXPECT_FALSE(DdeBusName(std::string(240, 'a')).has_value());
    // Escaping makes a name three times as long.
    EXPECT_TRUE(DdeBusName(std::string(79, ' ')).has_value());
    EXPECT_FALSE(DdeBusName(std::string(80, ' ')).has_value());
}

TEST(DdeIntrospection, FindsTheInterfaceOfTheObjectItself) {
    const std::string doctype = "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\" "
                                "\"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n";
    const std::pair<std::string, bool> rows[] = {
        {doctype + "<node name=\"/System\"><interface name=\"org.freedesktop.DBus.Introspectable\">"
                   "<method name=\"Introspect\"><arg direction=\"out\" type=\"s\"/></method></interface>"
                   "<interface name=\"org.ordwell.Dde\"><method name=\"Execute\"><arg type=\"s\"/></method>"
                   "</interface></node>",
         true},
        {"<node><interface name='org.ordwell.Dde'/></node>", true},
        {"<node><interface name=\"org.ordwell.Dde.Other\"/></node>", false},
        {"<node><node name=\"child\"><interface name=\"org.ordwell.Dde\"/></node></node>", false},
        {"<node><!-- <interface name=\"org.ordwell.Dde\"/> --></node>", false},
        {"<other><interface name=\"org.ordwell.Dde\"/></other>", false},
        {"<node><interface name=\"org.ordwell.Dde\"></node>", false},
        {"<node><interface name=\"org.ordwell.Dde\"/></node><node/>", false},
        {"", false},
        {"<node/>", false},
    };
    for (const auto& [xml, listed] : rows) {
        EXPECT_EQ(IntrospectionListsInterface(xml, "org.ordwell.Dde"), listed) << xml;
    }
}

} // namespace
} // namespace ordwell
