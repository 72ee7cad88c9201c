#pragma once

#include <QByteArray>
#include <QString>

// Outputs a person reviews once, checked in under tests/ and compared byte
// for byte. A test that spelled the same text again would change along with
// the code and catch nothing; a golden file changes only when someone copies
// a reviewed new text over it.
namespace GoldenFile {

// Whether actual equals the golden file at name (a path below tests/, such as
// "base/settings/data/config.ini"). When it does not, the new text is printed
// for review (Windows-1251 read as such, line ends shown) and written to the
// same name below the build's golden-new/ folder, from where it can be copied
// over the checked-in file once it has been read.
bool matches(const QString &name, const QByteArray &actual);

} // namespace GoldenFile
