#include "SettingControls.h"

#include "base/Settings.h"
#include "base/SettingsBatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

QCheckBox *SettingControls::check(const QString &objectName, const QString &caption, const BoolKey &key)
{
    return check(objectName, caption, key, key.defaultValue);
}

QCheckBox *SettingControls::check(const QString &objectName, const QString &caption, const BoolKey &key, bool restored)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(objectName);
    custom([box, key](const Settings &settings) { box->setChecked(settings.read(key)); },
           [box, key](SettingsBatch &batch) { batch.set(key, box->isChecked()); },
           [box, restored] { box->setChecked(restored); });
    return box;
}

QLineEdit *SettingControls::text(const QString &objectName, const TextKey &key)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    custom([edit, key](const Settings &settings) { edit->setText(settings.read(key)); },
           [edit, key](SettingsBatch &batch) { batch.set(key, edit->text()); },
           [edit, key] { edit->setText(key.defaultValue); });
    return edit;
}

QList<QRadioButton *> SettingControls::choice(const TextKey &key, const QList<Choice> &choices)
{
    Q_ASSERT(!choices.isEmpty());
    QList<QRadioButton *> buttons;
    for (const Choice &c : choices) {
        buttons.append(new QRadioButton(c.caption));
        buttons.last()->setObjectName(c.objectName);
    }
    // The button that stands for text: the last for any text none stands for.
    const auto buttonFor = [buttons, choices](const QString &text) {
        for (qsizetype i = 0; i < choices.size(); ++i) {
            if (choices[i].storedText == text)
                return buttons[i];
        }
        return buttons.last();
    };
    custom([buttonFor, key](const Settings &settings) { buttonFor(settings.read(key))->setChecked(true); },
           [buttons, choices, key](SettingsBatch &batch) {
               qsizetype ticked = choices.size() - 1;
               for (qsizetype i = 0; i < ticked; ++i) {
                   if (buttons[i]->isChecked()) {
                       ticked = i;
                       break;
                   }
               }
               batch.set(key, choices[ticked].storedText);
           },
           [buttonFor, key] { buttonFor(key.defaultValue)->setChecked(true); });
    return buttons;
}

void SettingControls::custom(std::function<void(const Settings &)> load, std::function<void(SettingsBatch &)> save,
                             std::function<void()> restore)
{
    m_controls.push_back({std::move(load), std::move(save), std::move(restore)});
}

void SettingControls::load(const Settings &settings) const
{
    for (const Control &c : m_controls)
        c.load(settings);
}

void SettingControls::save(SettingsBatch &batch) const
{
    for (const Control &c : m_controls)
        c.save(batch);
}

void SettingControls::restoreDefaults() const
{
    for (const Control &c : m_controls)
        c.restore();
}
