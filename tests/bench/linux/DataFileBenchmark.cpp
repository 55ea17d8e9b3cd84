// The data file's benchmark: writes, loads and saves files of 1,000, 100,000 and 1,000,000
// profiles, and starts and closes the real main window with 100,000 profiles next to a
// bare Qt window. Each measurement runs in a fresh process of its own, so that its peak
// resident memory is its own. Run by hand; it is no test:
//
//   build/default/bin/data_file_bench [folder]
//
// The files go to `folder` (default: a new folder in /tmp, removed afterwards). The window
// runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ui/CMainFrame.h"
#include "app/ui/CTessupApp.h"
#include "platform/FileStore.h"
#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "profiles/Settings.h"
#include "system/linux/CollectedRun.h"

namespace {

using quorrel::IpProfile;
using quorrel::ProfileDataFile;
using quorrel::ProfileList;

// Nanoseconds of the wall clock, comparable between processes and with the start times
// that scripts/bench.sh passes (bash's $EPOCHREALTIME).
long long monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double msSince(long long startNs) {
    return static_cast<double>(monotonicNs() - startNs) / 1e6;
}

// A line of /proc/self/status in kB ("VmHWM" peak resident, "VmRSS" resident now).
long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::atol(line.c_str() + prefix.size());
        }
    }
    return -1;
}

// Profiles as people keep them: Korean names, half fixed and half automatic.
ProfileList makeProfiles(long count) {
    ProfileList list;
    for (long i = 0; i < count; ++i) {
        IpProfile p;
        p.name = (i % 3 == 0 ? "사무실 " : i % 3 == 1 ? "집 " : "lab-") + std::to_string(i);
        if (i % 2 == 0) {
            p.ipAddress = "10." + std::to_string(i / 65536 % 256) + "." +
                          std::to_string(i / 256 % 256) + "." + std::to_string(i % 254 + 1);
            p.subnetMask = "255.255.255.0";
            p.gateway = "10.0.0.1";
            p.primaryDns = "168.126.63.1";
            p.secondaryDns = "168.126.63.2";
        } else {
            p.useDhcp = 1;
            p.dnsAuto = 1;
        }
        list.append(p);
    }
    return list;
}

// --write COUNT FOLDER: writes a file of COUNT profiles. Prints "writeMs".
int runWrite(long count, const std::string& folder) {
    auto files = quorrel::platform::makeSystemFileStore();
    auto codec = quorrel::platform::makeCp949Codec();
    ProfileDataFile dataFile(*files, *codec, folder);
    const ProfileList generated = makeProfiles(count);
    const long long start = monotonicNs();
    if (const quorrel::Done saved = dataFile.save(generated); !saved) {
        std::fprintf(stderr, "cannot write: %s\n", saved.error().c_str());
        return 1;
    }
    std::printf("%.1f\n", msSince(start));
    return 0;
}

// --load-save COUNT FOLDER: loads that file in a fresh process, as a start does, and saves
// it again. Prints "loadMs saveMs listHeapBytes peakKb".
int runLoadSave(long count, const std::string& folder) {
    auto files = quorrel::platform::makeSystemFileStore();
    auto codec = quorrel::platform::makeCp949Codec();
    ProfileDataFile dataFile(*files, *codec, folder);
    const std::size_t heapBefore = ::mallinfo2().uordblks;
    ProfileList loaded;
    long long start = monotonicNs();
    if (!dataFile.load(loaded) || static_cast<long>(loaded.size()) != count) {
        std::fprintf(stderr, "cannot load\n");
        return 1;
    }
    const double loadMs = msSince(start);
    const std::size_t listBytes = ::mallinfo2().uordblks - heapBefore;
    start = monotonicNs();
    if (const quorrel::Done saved = dataFile.save(loaded); !saved) {
        std::fprintf(stderr, "cannot save: %s\n", saved.error().c_str());
        return 1;
    }
    const double saveMs = msSince(start);
    std::printf("%.1f %.1f %zu %ld\n", loadMs, saveMs, listBytes, statusKb("VmHWM"));
    return 0;
}

// --bytes FOLDER: the baseline of --load-save, the same file's bytes read and written
// again, with nothing parsed. Prints "ms".
int runBytes(const std::string& folder) {
    const std::string path = folder + "quorrel.dat";
    const long long start = monotonicNs();
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    {
        std::ofstream out(path + ".bytes", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            return 1;
        }
    }
    const double ms = msSince(start);
    std::filesystem::remove(path + ".bytes");
    std::printf("%.1f\n", ms);
    return bytes.empty() ? 1 : 0;
}

// --register FOLDER: stores FOLDER as the profile folder, as the window's first start does,
// in the registry store that QUORREL_REGISTRY_DIR names, for the command line's runs.
int runRegister(const std::string& folder) {
    auto registry = quorrel::platform::makeSystemRegistryStore();
    quorrel::Settings(*registry, nullptr).writePath(folder);
    return 0;
}

// Reports the first paint of a window, then closes it.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(long long startNs) : startNs_(startNs) {}
    QWidget* window = nullptr;
    double firstPaintMs = -1;
    double mappedMs = -1;  // the first frame painted whole: the event loop is idle again
    long long closeStartNs = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && firstPaintMs < 0 && window != nullptr) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == window) {
                firstPaintMs = msSince(startNs_);
                QTimer::singleShot(0, window, [this] {
                    mappedMs = msSince(startNs_);
                    closeStartNs = monotonicNs();
                    window->close();
                });
            }
        }
        return false;
    }

private:
    long long startNs_;
};

// --window bare|frame START_NS [FOLDER]: prints "firstPaint mapped close peakKb".
int runWindow(const std::string& kind, long long startNs, const std::string& folder, int argc,
              char** argv) {
    QApplication qt(argc, argv);
    FirstPaint watch(startNs);
    qt.installEventFilter(&watch);
    double closeMs = 0;
    if (kind == "bare") {
        {
            QMainWindow bare;
            bare.resize(750, 400);
            watch.window = &bare;
            bare.show();
            QApplication::exec();
        }
        closeMs = msSince(watch.closeStartNs);
    } else {
        {
            quorrel::AppServices services;
            services.installFolder = folder;
            quorrel::CTessupApp app(std::move(services));
            if (!app.InitInstance()) {
                std::fprintf(stderr, "the start was refused\n");
                return 1;
            }
            watch.window = app.mainFrame();
            QApplication::exec();
        }  // the frame goes with the application object
        closeMs = msSince(watch.closeStartNs);
    }
    std::printf("%.1f %.1f %.1f %ld\n", watch.firstPaintMs, watch.mappedMs, closeMs,
                statusKb("VmHWM"));
    return 0;
}

// Runs this program again with `arguments` and returns what it printed.
std::string runChild(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"/proc/self/exe"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    quorrel::system::CollectOptions options;
    options.withErrors = false;
    return quorrel::system::runCollectingOutput(argv[0], argv, options).output;
}

int runAll(std::string folder) {
    const bool ownFolder = folder.empty();
    if (ownFolder) {
        char pattern[] = "/tmp/quorrel-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            return 1;
        }
        folder = pattern;
    }
    folder = std::filesystem::absolute(folder).string();
    if (folder.back() != '/') {
        folder += '/';
    }
    // The window's run uses a registry store and a runtime folder of its own, and answers
    // its messages unattended.
    std::filesystem::create_directories(folder + "registry");
    std::filesystem::create_directories(folder + "runtime");
    std::filesystem::permissions(folder + "runtime", std::filesystem::perms::owner_all);
    ::setenv("QUORREL_REGISTRY_DIR", (folder + "registry").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (folder + "runtime").c_str(), 1);
    ::setenv("QUORREL_UNATTENDED", "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    std::printf(
        "data file       write ms  load ms  save ms  load+save  list MB  B/profile  peak MB\n");
    for (const long count : {1000L, 100000L, 1000000L}) {
        const std::string size = std::to_string(count);
        const std::string sizeFolder = folder + size + "/";
        std::filesystem::create_directories(sizeFolder);
        double write = 0, load = 0, save = 0;
        std::size_t listBytes = 0;
        long peakKb = 0;
        if (std::sscanf(runChild({"--write", size, sizeFolder}).c_str(), "%lf", &write) != 1 ||
            std::sscanf(runChild({"--load-save", size, sizeFolder}).c_str(), "%lf %lf %zu %ld",
                        &load, &save, &listBytes, &peakKb) != 4) {
            std::printf("%9ld profiles: failed\n", count);
            continue;
        }
        std::printf("%9ld      %8.1f %8.1f %8.1f %10.1f %8.1f %10.0f %8.1f\n", count, write, load,
                    save, load + save, static_cast<double>(listBytes) / 1048576.0,
                    static_cast<double>(listBytes) / static_cast<double>(count),
                    static_cast<double>(peakKb) / 1024.0);
    }

    std::printf("\nwindow (ms; memory in MB)     first paint   close   peak\n");
    for (int round = 0; round < 3; ++round) {
        for (const std::string kind : {"bare", "frame"}) {
            const std::string printed =
                runChild({"--window", kind, std::to_string(monotonicNs()), folder + "100000/"});
            double paint = 0, mapped = 0, close = 0;
            long peakKb = 0;
            if (std::sscanf(printed.c_str(), "%lf %lf %lf %ld", &paint, &mapped, &close, &peakKb) !=
                4) {
                std::printf("%-29s failed\n", kind.c_str());
                continue;
            }
            std::printf("%-29s %11.1f %7.1f %6.0f\n",
                        kind == "bare" ? "bare Qt window" : "main window, 100000 profiles", paint,
                        close, static_cast<double>(peakKb) / 1024.0);
        }
    }
    if (ownFolder) {
        std::filesystem::remove_all(folder);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--write") {
        return runWrite(std::atol(args[1].c_str()), args[2]);
    }
    if (args.size() == 3 && args[0] == "--load-save") {
        return runLoadSave(std::atol(args[1].c_str()), args[2]);
    }
    if (args.size() == 2 && args[0] == "--register") {
        return runRegister(args[1]);
    }
    if (args.size() == 2 && args[0] == "--bytes") {
        return runBytes(args[1]);
    }
    if (args.size() == 4 && args[0] == "--window") {
        return runWindow(args[1], std::atoll(args[2].c_str()), args[3], argc, argv);
    }
    return runAll(args.empty() ? std::string() : args[0]);
}
