#include "Console.h"
#include "Converter.h"
#include "base/ProgramDir.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile in;
    QFile out;
    QFile err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    Console console{in, out, err, isatty(STDERR_FILENO) == 1};
    return Converter(console, ProgramDir::ofApplication()).run(app.arguments().mid(1));
}
