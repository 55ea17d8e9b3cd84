#include <windows.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "tests/ui/PopplerTool.h"

namespace quorrel::test {

namespace {

// Wine's own export from kernel32: the Unix path of a Windows one. Missing on Windows.
QString unixPath(const QString& windowsPath) {
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto proc =
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    if (proc == nullptr) {
        return {};
    }
    const std::wstring path = QDir::toNativeSeparators(windowsPath).toStdWString();
    char* converted =
        reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(proc))(path.c_str());
    if (converted == nullptr) {
        return {};
    }
    const QString result = QString::fromUtf8(converted);
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return result;
}

QString shellQuoted(QString word) {
    word.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return QLatin1Char('\'') + word + QLatin1Char('\'');
}

}  // namespace

QString runPopplerTool(const QString& program, const QStringList& arguments) {
    QTemporaryDir folder;
    const QString folderUnix = unixPath(folder.path());
    if (!folder.isValid() || folderUnix.isEmpty()) {
        return {};
    }
    // A script, so that no argument depends on how start.exe splits a command line; the
    // output appears under its final name only when the tool is done.
    QStringList words{shellQuoted(program)};
    for (const QString& argument : arguments) {
        words << shellQuoted(QFile::exists(argument) ? unixPath(argument) : argument);
    }
    const QString part = shellQuoted(folderUnix + QLatin1String("/output.part"));
    const QString script = words.join(QLatin1Char(' ')) + QLatin1String(" > ") + part +
                           QLatin1String(" && mv ") + part + QLatin1Char(' ') +
                           shellQuoted(folderUnix + QLatin1String("/output")) + QLatin1Char('\n');
    QFile scriptFile(folder.filePath(QStringLiteral("run.sh")));
    if (!scriptFile.open(QIODevice::WriteOnly) || scriptFile.write(script.toUtf8()) < 0) {
        return {};
    }
    scriptFile.close();

    // start.exe returns as soon as the Unix program is started: wait for its output.
    if (QProcess::execute(QStringLiteral("start.exe"),
                          {QStringLiteral("/unix"), QStringLiteral("/bin/sh"),
                           folderUnix + QLatin1String("/run.sh")}) != 0) {
        return {};
    }
    // The folder's change notification wakes the wait when the output appears under its
    // name; the deadline ends it when the tool never finishes.
    QFile output(folder.filePath(QStringLiteral("output")));
    const std::wstring watched = QDir::toNativeSeparators(folder.path()).toStdWString();
    const HANDLE change =
        ::FindFirstChangeNotificationW(watched.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE) {
        return {};
    }
    const QDeadlineTimer deadline(30000);
    while (!output.exists() && !deadline.hasExpired()) {
        if (::WaitForSingleObject(change, static_cast<DWORD>(deadline.remainingTime())) !=
                WAIT_OBJECT_0 ||
            !::FindNextChangeNotification(change)) {
            break;
        }
    }
    ::FindCloseChangeNotification(change);
    if (!output.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(output.readAll());
}

}  // namespace quorrel::test
