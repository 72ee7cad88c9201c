#include "BenchCommands.h"
#include "base/ProfileFile.h"
#include "base/TabloraError.h"

#include <QElapsedTimer>

#include <cstdio>

// Writes the key K of section S of the settings file FILE N times, as the
// program writes a setting, the value alternately LENGTH letters "a" and
// LENGTH / 2 letters "b", so that the file grows and shrinks. Tells on
// stdout when the writes begin ("writing"), for a test that kills it in
// their middle, and then the mean time of one write.
int runSettings(const QStringList &args)
{
    const QString path = args.at(0);
    const int count = args.at(1).toInt();
    const int length = args.at(2).toInt();
    const QString longValue(length, QLatin1Char('a'));
    const QString shortValue(length / 2, QLatin1Char('b'));
    std::printf("writing\n");
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    try {
        ProfileFile file(path);
        for (int i = 0; i < count; ++i)
            file.writeString(QStringLiteral("S"), QStringLiteral("K"), i % 2 == 0 ? longValue : shortValue);
    } catch (const TabloraError &e) {
        std::fprintf(stderr, "settings: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("writes %d\nwrite_ms %.3f\n", count, count > 0 ? double(timer.nsecsElapsed()) / 1e6 / count : 0.0);
    return 0;
}
