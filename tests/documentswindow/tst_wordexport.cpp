// "Импорт в Word" of the document windows: the file written into the export folder of
// the working folder and handed to the editor; when nothing opens it, that no application
// for .docx files was found and where the file was saved. Shown with the certificate
// panel's export.

#include "documents/docxreadback.h"
#include "documents/window/wordexport.h"
#include "platform/documentopener.h"

#include <QApplication>
#include <QJsonArray>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace documents;

namespace
{

const QString kRow = QStringLiteral("Пшеница") + QString(24, QLatin1Char(' ')) +
                     QStringLiteral(" 40.50"); // name padded to 31, share in 6

// A certificate text of the head, one table row and the closing lines.
QStringList certificateText()
{
    QStringList lines;
    for (int i = 0; i < 14; ++i)
        lines << QStringLiteral("строка %1").arg(i);
    lines << kRow;
    for (int i = 0; i < 6; ++i)
        lines << QStringLiteral("завершение %1").arg(i);
    return lines;
}

} // namespace

class TestWordExport final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void certificate_data();
    void certificate();

private:
    QString previous_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestWordExport::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    previous_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestWordExport::cleanup()
{
    qunsetenv(platform::kOpenDocumentVariable);
    QDir::setCurrent(previous_);
    dir_.reset();
}

void TestWordExport::certificate_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message"); // %1: the file written
    QTest::newRow("opened in the editor") << "true" << true << "";
    QTest::newRow("nothing opens it: where it was saved")
        << "false" << false
        << "Не найдено приложение для файлов .docx (LibreOffice Writer, Word)\nДокумент сохранен в "
           "файле %1";
}

void TestWordExport::certificate()
{
    QFETCH(QString, opener);
    QFETCH(bool, opened);
    QFETCH(QString, message);
    qputenv(platform::kOpenDocumentVariable, opener.toUtf8());
    QStringList seen;
    QTimer answer; // closes the message boxes, noting their texts
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen << box->text();
            box->accept();
        }
    });
    answer.start();
    QWidget parent;
    QCOMPARE(exportCertificateToWord(&parent, certificateText(), 5), opened);
    answer.stop();

    const QDir exportDir(dir_->filePath(QStringLiteral("export")));
    const QStringList files = exportDir.entryList({QStringLiteral("*.docx")});
    QCOMPARE(files.size(), 1);
    QVERIFY2(files.first().startsWith(QStringLiteral("Удостоверение 5 ")),
             qPrintable(files.first()));
    const QString path = exportDir.filePath(files.first());
    QCOMPARE(seen, message.isEmpty() ? QStringList()
                                     : QStringList{message.arg(QDir::toNativeSeparators(path))});
    QString error;
    const QJsonObject dump = docxreadback::dump({path}, &error).begin()->toObject();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonArray body = dump[QStringLiteral("body")].toArray();
    QCOMPARE(body[0][QStringLiteral("p")].toString(), QStringLiteral("строка 0"));
    QCOMPARE(body[14][QStringLiteral("rows")][1][0][QStringLiteral("text")].toString(),
             QStringLiteral("\n") + kRow + QStringLiteral(" "));
}

QTEST_MAIN(TestWordExport)
#include "tst_wordexport.moc"
