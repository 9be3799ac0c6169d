// The program's one message box: captioned "Кормоплан" whatever the window, written to
// the message log first; the question box the same, answered by its two buttons.

#include "widgets/message.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{

// Acts on the next message box once it is open; closes it after 5 s whatever happens.
void onNextBox(const std::function<void(QMessageBox *)> &act)
{
    auto *poll = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, ticks] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box || ++*ticks > 1000) {
            poll->stop();
            poll->deleteLater();
            if (box) {
                act(box);
                if (box->isVisible())
                    box->reject();
            }
        }
    });
    poll->start(5);
}

} // namespace

class TestMessage final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void messageIsCaptionedAndLogged();
    void questionIsCaptionedAndAnswered_data();
    void questionIsCaptionedAndAnswered();

private:
    QStringList logLines() const;
    std::unique_ptr<QTemporaryDir> dir_;
    QString log_;
};

void TestMessage::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    log_ = dir_->filePath(QStringLiteral("messages.log"));
    qputenv("KORMOPLAN_MESSAGE_LOG", log_.toUtf8());
}

void TestMessage::cleanup()
{
    qunsetenv("KORMOPLAN_MESSAGE_LOG");
    dir_.reset();
}

QStringList TestMessage::logLines() const
{
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// Over a window with a title of its own, the box still says "Кормоплан".
void TestMessage::messageIsCaptionedAndLogged()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("Работа со списком сырья"));
    window.show();
    QString caption;
    QString text;
    onNextBox([&](QMessageBox *box) {
        caption = box->windowTitle();
        text = box->text();
        QVERIFY(logLines().contains(text)); // written before the box opened
        box->accept();
    });
    widgets::showMessage(&window, QStringLiteral("Сырье не отобрано"));
    QCOMPARE(caption, QStringLiteral("Кормоплан"));
    QCOMPARE(text, QStringLiteral("Сырье не отобрано"));
    QCOMPARE(logLines(), QStringList{QStringLiteral("Сырье не отобрано")});
}

void TestMessage::questionIsCaptionedAndAnswered_data()
{
    QTest::addColumn<int>("press"); // 0 the first button, 1 the second, -1 closed
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes") << 0 << true;
    QTest::newRow("no") << 1 << false;
    QTest::newRow("closed") << -1 << false;
}

void TestMessage::questionIsCaptionedAndAnswered()
{
    QFETCH(int, press);
    QFETCH(bool, answer);
    QString caption;
    onNextBox([&](QMessageBox *box) {
        caption = box->windowTitle();
        const QList<QAbstractButton *> buttons = box->buttons();
        if (press >= 0) {
            for (QAbstractButton *b : buttons) {
                if (b->text() == (press == 0 ? QStringLiteral("Да") : QStringLiteral("Нет")))
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        } else {
            box->reject();
        }
    });
    const bool given = widgets::askQuestion(nullptr, QStringLiteral("Восстановить данные?"),
                                            QStringLiteral("Да"), QStringLiteral("Нет"));
    QCOMPARE(given, answer);
    QCOMPARE(caption, QStringLiteral("Кормоплан"));
    QCOMPARE(logLines(), QStringList{QStringLiteral("Восстановить данные?")});
}

QTEST_MAIN(TestMessage)
#include "tst_message.moc"
