#pragma once

#include "TableModel.h"

#include <QString>

// The one database the main window holds: its table and the state that goes
// with it - the file it came from, whether it changed since, and the Role of
// the user working on it.
class Document
{
public:
    // The name of a database that was never saved; compared exactly.
    static QString untitledName() { return QStringLiteral("Новая база данных"); }

    TableModel &model() { return m_model; }
    const TableModel &model() const { return m_model; }

    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    bool isUntitled() const { return m_fileName == untitledName(); }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    const QString &role() const { return m_role; }
    void setRole(const QString &role) { m_role = role; }

private:
    TableModel m_model;
    QString m_fileName = untitledName();
    bool m_modified = false;
    QString m_role;
};
