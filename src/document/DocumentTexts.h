#pragma once

#include <QString>

// Texts through which the window shows the document state.
namespace DocumentTexts {

// The file name without its folder: the part after the last "\" or ":" (or
// "/"), the whole name when it has none.
QString filePart(const QString &fileName);

// "Tablora 1.5 [Склад.db]": the window caption and the application title.
QString windowTitle(const QString &fileName);

// "Имя: Склад.db": status panel 1.
QString statusName(const QString &fileName);

// "Всего записей: 12": status panel 0.
QString recordCount(int count);

// "Вы вошли как: moder": status panel 2.
QString loggedInAs(const QString &role);

} // namespace DocumentTexts
