#pragma once

#include "TableModel.h"
#include "base/FileStamp.h"

#include <QString>

#include <functional>

// The one database the main window holds: its table and the state that goes
// with it - the file it came from and what that file was on disk then,
// whether the table changed since, and the Role of the user working on it.
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

    // The file as it was when the table was read from it or last saved to
    // it; unknown for a table that has no file.
    const FileStamp &diskStamp() const { return m_diskStamp; }
    void setDiskStamp(const FileStamp &stamp) { m_diskStamp = stamp; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified)
    {
        m_modified = modified;
        if (m_modifiedListener)
            m_modifiedListener(modified);
    }
    // Told the flag after each setModified (the recovery copy follows it).
    void setModifiedListener(std::function<void(bool)> listener) { m_modifiedListener = std::move(listener); }

    const QString &role() const { return m_role; }
    void setRole(const QString &role) { m_role = role; }

private:
    TableModel m_model;
    QString m_fileName = untitledName();
    FileStamp m_diskStamp;
    bool m_modified = false;
    std::function<void(bool)> m_modifiedListener;
    QString m_role;
};
