// ipconfig: prints the "/all"-style report of every network adapter of this machine, for
// the adapter status view. Arguments ("/all" and any other) are accepted and ignored.
//
// The report is written in UTF-8 with CR LF line ends: the status view on Linux reads its
// captured text as UTF-8, and the line ends match those of the system's own report.

#include <cstdio>
#include <string>

#include "ipconfig/AdapterReport.h"
#include "ipconfig/SystemFacts.h"

int main() {
    using namespace quorrel::ipconfig;
    const quorrel::Expected<ReportFacts> read = readSystemFacts();
    ReportFacts facts;
    int exitCode = 0;
    if (read) {
        facts = *read;
    } else {
        // Still the machine-wide part, so that the view shows which machine it is.
        facts.hostName = systemHostName();
        std::fprintf(stderr, "ipconfig: %s\n", read.error().c_str());
        exitCode = 1;
    }
    const std::string report = formatAdapterReport(facts);
    if (std::fwrite(report.data(), 1, report.size(), stdout) != report.size() ||
        std::fflush(stdout) != 0) {
        return 1;
    }
    return exitCode;
}
