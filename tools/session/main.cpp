// varlin-session: the session files of Varlin from the command line (show, json, from-json,
// relocate).
#include "SessionTool.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The directory-prefix preference of the program applies to the folder column.
    QCoreApplication::setOrganizationName(QStringLiteral("brenmoor"));
    QCoreApplication::setApplicationName(QStringLiteral("varlin"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = SessionTool(out, err).run(app.arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
