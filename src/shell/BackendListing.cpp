#include "BackendListing.h"

namespace ordwell {

namespace {

void AddLine(std::string& out, const char* part, const BackendUse& use) {
    out.append(part).append(": ").append(use.name);
    if (!use.reason.empty()) {
        out.append(" (").append(use.reason).append(")");
    }
    out += '\n';
}

} // namespace

std::string BackendListing(const BackendReport& report) {
    std::string out;
    AddLine(out, "windows", report.windows);
    AddLine(out, "keyboard", report.keyboard);
    AddLine(out, "pointer", report.pointer);
    AddLine(out, "boxes", report.boxes);
    AddLine(out, "sound", report.sound);
    AddLine(out, "session", report.session);
    AddLine(out, "dde", report.dde);
    if (!report.notice.empty()) {
        out.append("note: ").append(report.notice).append("\n");
    }
    return out;
}

} // namespace ordwell
