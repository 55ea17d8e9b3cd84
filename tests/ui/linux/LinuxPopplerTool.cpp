#include <QProcess>

#include "tests/ui/PopplerTool.h"

namespace quorrel::test {

QString runPopplerTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace quorrel::test
