#include "shell/commandline.h"

#include "widgets/applicationtitle.h"

namespace shell
{

TerminalRequest terminalRequest(const QStringList &arguments)
{
    for (int k = 1; k < arguments.size(); ++k) {
        const QString &argument = arguments.at(k);
        if (argument == u"--workdir")
            ++k;
        else if (argument == u"--help" || argument == u"-h")
            return TerminalRequest::Help;
        else if (argument == u"--version")
            return TerminalRequest::Version;
    }
    return TerminalRequest::None;
}

QString helpText()
{
    return QStringLiteral(
        "Использование: kormoplan [--workdir ПАПКА]\n"
        "\n"
        "Кормоплан рассчитывает рецепты комбикормов наименьшей стоимости по спискам\n"
        "характеристик питательности, сырья и типов комбикормов, хранит рецепты в архиве,\n"
        "печатает рецепты и удостоверения качества и передает их в текстовый редактор.\n"
        "\n"
        "Программа работает в текущей папке, если в ней есть папка данных itog3 (или ее\n"
        "резервная копия arhiv). Иначе она работает в папке \"Кормоплан\" в документах\n"
        "пользователя; при первом запуске туда копируются демонстрационные данные.\n"
        "Повторный запуск выводит окно уже работающей программы на передний план.\n"
        "\n"
        "Параметры:\n"
        "  --workdir ПАПКА  работать в папке ПАПКА (папка без данных получает их копию,\n"
        "                   как папка в документах)\n"
        "  -h, --help       показать эту справку и выйти\n"
        "  --version        показать версию и выйти\n"
        "\n"
        "Подробнее: man kormoplan\n");
}

QString versionText()
{
    return widgets::applicationTitle() + QStringLiteral(" " KP_VERSION "\n") +
           QStringLiteral("Лицензия GPL-3.0-or-later: GNU GPL версии 3 или более поздней\n"
                          "<https://www.gnu.org/licenses/gpl.html>.\n"
                          "Это свободная программа: ее можно изменять и распространять.\n"
                          "Никаких гарантий в пределах, допускаемых законом.\n");
}

} // namespace shell
