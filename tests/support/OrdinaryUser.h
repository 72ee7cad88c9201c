#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Permission checks do not bind root, and CI runs as root. A test of one runs
// its body as an ordinary user: here when the test already runs as one;
// otherwise in a child process that gives up root for the user "nobody",
// with folder (where the body works) handed to that user first.
namespace OrdinaryUser {

// What body returned ("<the body did not return>" when it crashed), or
// nothing when no ordinary user could run it: no such user, or no right to
// change user.
std::optional<QByteArray> run(const QString &folder, const std::function<QByteArray()> &body);

} // namespace OrdinaryUser
