#include "InfoPages.h"

#include "base/AppInfo.h"
#include "base/SafeWrite.h"
#include "base/TabloraError.h"
#include "base/Windows1251.h"

namespace {

const QString kDocumentStart = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><HTML><BODY bgcolor=white "
    "onload=scroller()><font color=\"black\"><center>");

QStringList thanksPage()
{
    QStringList page{kDocumentStart};
    page << QStringLiteral("<br>").repeated(7) + QStringLiteral("<h1>Благодарности</h1>")
            + QStringLiteral("<b>Спасибо, что выбрали Tablora 1.5 для своих баз данных!</b><br>")
            + QStringLiteral("Программа не стала бы такой без помощи этих людей:<br>");
    page << QStringLiteral("<li>Анна Столбцова (anna@tablora.example.org) — за первые отзывы и терпение")
            + QStringLiteral("<li>Пётр Записин (petr@tablora.example.org) — за проверку каждой сборки")
            + QStringLiteral("<li>Ирина Строкова — за примеры баз данных и советы по интерфейсу")
            + QStringLiteral("<br><br>Отдельное спасибо участникам форума программы:")
            + QStringLiteral("<ul><li>http://forum.") + AppInfo::kSiteHost + QStringLiteral("</ul>")
            + QStringLiteral("<br>").repeated(9) + QStringLiteral("</center><SCRIPT language=JavaScript><!--");
    page << InfoPages::scrollScript(220);
    page << QStringLiteral("// --></SCRIPT></center></font></BODY></HTML>");
    return page;
}

QStringList licensePage()
{
    QStringList page{kDocumentStart + QStringLiteral("<br>").repeated(4)};
    page << QStringLiteral("<h1>Лицензионное соглашение</h1>");
    page << QStringLiteral("<li>Программа Tablora 1.5 распространяется бесплатно и может использоваться без "
                           "ограничения срока на любом числе компьютеров: дома, в учебных заведениях и в "
                           "организациях.")
         << QStringLiteral("<li>Вы можете свободно передавать копии программы другим людям, если передаёте "
                           "её целиком, в неизменном виде и без взимания платы.")
         << QStringLiteral("<li>Программу разрешается выкладывать для свободной загрузки на сайтах и "
                           "записывать на носители при условии, что вместе с ней распространяется этот "
                           "текст.")
         << QStringLiteral("<li>Запрещается изменять, декомпилировать и дизассемблировать программу, а также "
                           "выдавать её или её части за собственную разработку.")
         << QStringLiteral("<li>Запрещается продавать программу, сдавать её в аренду и включать её в платные "
                           "сборники без письменного согласия автора.")
         << QStringLiteral("<li>Запрещается удалять или изменять сведения об авторе, о сайте программы и об "
                           "этом соглашении.")
         << QStringLiteral("<li>Программа предоставляется «как есть», без каких-либо гарантий, явных или "
                           "подразумеваемых, в том числе без гарантии пригодности для определённой цели.")
         << QStringLiteral("<li>Автор не отвечает за потерю данных, перерывы в работе и любой иной ущерб, "
                           "прямой или косвенный, возникший при использовании программы или из-за "
                           "невозможности её использовать.")
         << QStringLiteral("<li>Сохранность баз данных остаётся заботой пользователя: регулярно делайте "
                           "резервные копии важных файлов.")
         << QStringLiteral("<li>Все права на программу принадлежат её автору; права, прямо не "
                           "предоставленные этим соглашением, остаются за автором.")
         << QStringLiteral("<li>Если Вы не согласны с условиями этого соглашения, прекратите пользоваться "
                           "программой и удалите её со своего компьютера.");
    page << QStringLiteral("<br><br><br><br><br></center><SCRIPT language=JavaScript>");
    return page;
}

QStringList historyPage()
{
    QStringList page{kDocumentStart + QStringLiteral("<br>").repeated(4)};
    page << QStringLiteral("<h1>История изменения проекта Tablora</h1></center>");
    page << QStringLiteral("<li><b>Версия 1.5</b>")
         << QStringLiteral("<br>- Новый формат файлов баз данных; базы версии 1.0 открываются командой "
                           "«Импорт из Tablora 1.0»")
         << QStringLiteral("<br>- Учётные записи: администратор, модераторы и гости с настраиваемыми правами")
         << QStringLiteral("<br>- Вход по логину и паролю и смена пользователя без перезапуска программы")
         << QStringLiteral("<br>- Менеджер пользователей")
         << QStringLiteral("<br>- Сортировка по любому столбцу по алфавиту и в обратном порядке")
         << QStringLiteral("<br>- Вырезание, копирование и вставка записей через буфер обмена")
         << QStringLiteral("<br>- Печать базы данных")
         << QStringLiteral("<br>- Список недавних файлов и примеры баз данных")
         << QStringLiteral("<br>- Проверка обновлений через интернет и журнал ошибок")
         << QStringLiteral("<br><br><li><b>Версия 1.0</b>")
         << QStringLiteral("<br>- Первый выпуск: создание, открытие и сохранение баз данных, добавление, "
                           "изменение и удаление записей");
    page << QStringLiteral("<br><br><br><br><br><SCRIPT language=JavaScript>");
    return page;
}

// The end shared by the license and history pages, after their own lines.
QStringList withScriptEnd(QStringList page)
{
    page << QStringLiteral("<!--");
    page << InfoPages::scrollScript(420);
    page << QStringLiteral("// -->") << QStringLiteral("</SCRIPT></center></font></BODY></HTML>");
    return page;
}

} // namespace

namespace InfoPages {

QStringList lines(Page page)
{
    switch (page) {
    case Page::License:
        return withScriptEnd(licensePage());
    case Page::History:
        return withScriptEnd(historyPage());
    case Page::Thanks:
        break;
    }
    return thanksPage();
}

QStringList scrollScript(int limit)
{
    return {
        QStringLiteral("        var position = 0;"),
        QStringLiteral("function scroller() {"),
        QStringLiteral("        if (position != %1) {").arg(limit),
        QStringLiteral("                position++;"),
        QStringLiteral("                scroll(0,position);"),
        QStringLiteral("                clearTimeout(timer);"),
        QStringLiteral("                var timer = setTimeout(\"scroller()\",20); timer;"),
        QStringLiteral("        }"),
        QStringLiteral("        else"),
        QStringLiteral("                 {"),
        QStringLiteral("           location.replace(\"#\");"),
        QStringLiteral("        }"),
        QStringLiteral("}"),
    };
}

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Windows1251::encode(line) + "\r\n";
    return bytes;
}

void writeFile(const QString &path, const QStringList &lines)
{
    if (const auto reason = SafeWrite::replaceFile(path, fileBytes(lines), SafeWrite::InPlace::AsLastResort))
        throw TabloraError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(SafeWrite::nativeFullPath(path), *reason));
}

} // namespace InfoPages
