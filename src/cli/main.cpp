#include "cli/FontsTool.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    // No display is ever opened: the tool needs Qt's core alone.
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int status = RunFontsTool(app.arguments().mid(1), out, err);
    // A full disk or a closed pipe on the way out is trouble too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return 2;
    return status;
}
