#pragma once

#include "base/SettingKeys.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class Settings;
class SettingsBatch;

// The controls of a settings dialog, each declared once with the key it
// shows and what "По умолчанию" puts in it. Loading from the files, saving
// and restoring the defaults walk the declarations; saving writes the keys in
// the order the controls were declared.
class SettingControls
{
public:
    // One radio button of a choice: it stands for storedText.
    struct Choice
    {
        QString objectName;
        QString caption;
        QString storedText;
    };

    // A check box showing key; the defaults give it the key's default, or
    // restored where the dialog's default differs from the key's.
    QCheckBox *check(const QString &objectName, const QString &caption, const BoolKey &key);
    QCheckBox *check(const QString &objectName, const QString &caption, const BoolKey &key, bool restored);
    // A line edit showing key as it is stored; the defaults give it the
    // key's default.
    QLineEdit *text(const QString &objectName, const TextKey &key);
    // Radio buttons that store one text each: a stored text that none of
    // them stands for ticks the last, and so does saving with none ticked.
    // The defaults tick the one that stands for the key's default.
    QList<QRadioButton *> choice(const TextKey &key, const QList<Choice> &choices);
    // A setting that shows in a way of its own, given its three steps.
    void custom(std::function<void(const Settings &)> load, std::function<void(SettingsBatch &)> save,
                std::function<void()> restore);

    void load(const Settings &settings) const;
    void save(SettingsBatch &batch) const;
    void restoreDefaults() const;

private:
    struct Control
    {
        std::function<void(const Settings &)> load;
        std::function<void(SettingsBatch &)> save;
        std::function<void()> restore;
    };
    std::vector<Control> m_controls;
};
