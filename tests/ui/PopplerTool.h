#pragma once

#include <QString>
#include <QStringList>

namespace quorrel::test {

// What one of poppler's tools (pdftotext, pdffonts, pdfimages) prints for the arguments,
// or nothing when it could not run. On Linux the tool runs directly; under wine the Linux
// tool runs beside the Windows program, with Windows paths given as the Unix ones.
QString runPopplerTool(const QString& program, const QStringList& arguments);

}  // namespace quorrel::test
