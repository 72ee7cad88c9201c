#include "BenchMain.h"

#include <cstdio>

namespace {

int argumentCount(const CommandSpec &spec)
{
    return int(QString::fromLatin1(spec.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

int usage(const char *program, const CommandSpec *begin, const CommandSpec *end)
{
    std::fprintf(stderr, "usage:\n");
    for (const CommandSpec *spec = begin; spec != end; ++spec)
        std::fprintf(stderr, "  %s %s %s\n", program, spec->name, spec->arguments);
    return 2;
}

} // namespace

int runBenchCommand(int argc, char *argv[], const char *program, const CommandSpec *begin, const CommandSpec *end)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage(program, begin, end);
    for (const CommandSpec *spec = begin; spec != end; ++spec) {
        if (args.first() != QLatin1String(spec->name))
            continue;
        const std::unique_ptr<QCoreApplication> app =
            spec->makeApplication ? spec->makeApplication(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
        if (args.size() - 1 != argumentCount(*spec))
            return usage(program, begin, end);
        return spec->run(args.mid(1));
    }
    return usage(program, begin, end);
}
