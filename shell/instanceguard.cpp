#include "shell/instanceguard.h"

#include "widgets/applicationtitle.h"

namespace shell
{

namespace
{

bool takesPart(const platform::TopLevelWindow &window, const QSet<quint64> &ownWindows)
{
    return !ownWindows.contains(window.id) && window.visible && !window.owned &&
           !window.title.isEmpty();
}

bool containsGuardWord(const QString &title)
{
    const QString compared = title.left(kComparedTitleLength);
    for (const QString &word : guardWords()) {
        if (compared.contains(word))
            return true;
    }
    return false;
}

} // namespace

const QStringList &guardWords()
{
    static const QStringList words{widgets::applicationTitle(), QStringLiteral("Премиксплан"),
                                   QStringLiteral("Кормоучет")};
    return words;
}

std::optional<platform::TopLevelWindow>
findBlockingWindow(const QList<platform::TopLevelWindow> &windows, const QSet<quint64> &ownWindows)
{
    for (const platform::TopLevelWindow &window : windows) {
        if (takesPart(window, ownWindows) && containsGuardWord(window.title))
            return window;
    }
    return std::nullopt;
}

QString guardMessage(const QString &title)
{
    return QStringLiteral("Перед запуском этой программы необходимо закрыть программу ") +
           QLatin1Char('"') + title + QStringLiteral("\". ") +
           QStringLiteral("Желательно закрыть и другие программы. Браузер, Оффис (Word, "
                          "Excel), игры, антивирус и утилиты Windows (например, Диспетчер "
                          "задач) закрывать не требуется.");
}

} // namespace shell
