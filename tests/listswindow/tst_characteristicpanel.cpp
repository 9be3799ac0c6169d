// The characteristic panel's value fields show the widest number their columns hold.

#include "lists/window/characteristicpanel.h"
#include "lists/window/fieldwidgets.h"

#include <QTest>

class TestCharacteristicPanel final : public QObject
{
    Q_OBJECT

private slots:
    void widestNumberShowsWhole_data();
    void widestNumberShowsWhole();
};

void TestCharacteristicPanel::widestNumberShowsWhole_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("largest") << "9999999.9999";
    QTest::newRow("smallest") << "-999999.9999";
}

void TestCharacteristicPanel::widestNumberShowsWhole()
{
    QFETCH(QString, number);
    lists::CharacteristicPanel panel({QStringLiteral("mi"), QStringLiteral("ma")},
                                     {QStringLiteral("Мин."), QStringLiteral("Макс.")}, 2);
    for (int which = 0; which < 2; ++which) {
        lists::FieldEdit *field = panel.field(0, which);
        field->setText(number);
        QCOMPARE(field->text(), number);
        QVERIFY2(field->fontMetrics().horizontalAdvance(number) <=
                     field->contentsRect().width() - 4,
                 qPrintable(QString::number(field->width())));
    }
}

QTEST_MAIN(TestCharacteristicPanel)
#include "tst_characteristicpanel.moc"
