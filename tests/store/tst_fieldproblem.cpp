// A value that does not fit its field is explained in the user's words: place, column,
// entry, the largest number the column holds; long texts quoted by 40 characters.

#include "store/fieldproblem.h"
#include "store/numbertext.h"

#include <QTest>

using store::FieldDef;
using store::FieldPlace;

class TestFieldProblem final : public QObject
{
    Q_OBJECT

private slots:
    void limits_data();
    void limits();
    void problems_data();
    void problems();
    void typing_data();
    void typing();
    void charactersAtMost_data();
    void charactersAtMost();
};

void TestFieldProblem::limits_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("largest");
    QTest::addColumn<QString>("smallest");
    QTest::newRow("N12.4") << 12 << 4 << "9999999.9999"
                           << "-999999.9999";
    QTest::newRow("N8.3") << 8 << 3 << "9999.999"
                          << "-999.999";
    QTest::newRow("N3.0") << 3 << 0 << "999"
                          << "-99";
}

// The limits are the widest texts the field takes, and one more digit does not fit.
void TestFieldProblem::limits()
{
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, largest);
    QFETCH(QString, smallest);
    const FieldDef field{QStringLiteral("MI4"), 'N', width, decimals};
    QCOMPARE(store::largestFieldNumber(field), largest);
    QCOMPARE(store::smallestFieldNumber(field), smallest);
    QVERIFY(store::fieldProblem(field, largest, {}).isEmpty());
    QVERIFY(store::fieldProblem(field, smallest, {}).isEmpty());
    QVERIFY(!store::fieldProblem(field, QStringLiteral("9") + largest, {}).isEmpty());
    QVERIFY(!store::fieldProblem(field, QStringLiteral("-9") + smallest.mid(1), {}).isEmpty());
}

void TestFieldProblem::problems_data()
{
    QTest::addColumn<FieldDef>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    const FieldPlace place{QStringLiteral("Список сырья"), QStringLiteral("Содержание: Протеин"),
                           QStringLiteral("Овес")};
    const FieldDef mi4{QStringLiteral("MI4"), 'N', 12, 4};
    const FieldDef prim{QStringLiteral("prim"), 'C', 254, 0};
    QTest::newRow("fits") << mi4 << QVariant(12.5) << QString();
    QTest::newRow("too-large")
        << mi4 << QVariant(1e20)
        << "Список сырья, \"Овес\", колонка \"Содержание: Протеин\": число "
           "100000000000000000000 не помещается — колонка вмещает числа до 9999999.9999.";
    QTest::newRow("too-small")
        << mi4 << QVariant(-12345678.5)
        << "Список сырья, \"Овес\", колонка \"Содержание: Протеин\": число -12345678.5 не "
           "помещается — колонка вмещает числа от -999999.9999.";
    QTest::newRow("not-a-number")
        << mi4 << QVariant(QStringLiteral("12x"))
        << "Список сырья, \"Овес\", колонка \"Содержание: Протеин\": \"12x\" — не число.";
    QTest::newRow("long-note-quoted-by-40")
        << prim << QVariant(QString(300, u'ж'))
        << "Список сырья, \"Овес\", колонка \"Содержание: Протеин\": текст \"" + QString(40, u'ж') +
               "…\" не помещается — колонка вмещает не более 254 знаков.";
    QTest::newRow("no-1251-byte") << FieldDef{QStringLiteral("naim"), 'C', 30, 0}
                                  << QVariant(QStringLiteral("Мел ☺"))
                                  << "Список сырья, \"Овес\", колонка \"Содержание: Протеин\": в "
                                     "тексте \"Мел ☺\" есть знаки, которых нет в кодировке "
                                     "Windows-1251.";
}

void TestFieldProblem::problems()
{
    QFETCH(FieldDef, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    const FieldPlace place{QStringLiteral("Список сырья"), QStringLiteral("Содержание: Протеин"),
                           QStringLiteral("Овес")};
    const QString problem = store::fieldProblem(field, value, place);
    QCOMPARE(problem, message);
    QVERIFY(!problem.contains(field.name));
}

void TestFieldProblem::typing_data()
{
    QTest::addColumn<FieldDef>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    const FieldDef izder{QStringLiteral("izder"), 'N', 12, 2};
    const FieldDef nds{QStringLiteral("nds"), 'N', 8, 3};
    const FieldDef gk{QStringLiteral("gk"), 'C', 1, 0};
    QTest::newRow("costs") << izder << "150" << true;
    QTest::newRow("costs-largest") << izder << "999999999.99" << true;
    QTest::newRow("costs-ten-digits") << izder << "9999999999" << false;
    QTest::newRow("costs-third-decimal") << izder << "150.125" << false;
    QTest::newRow("costs-point-typed") << izder << "150." << true;
    QTest::newRow("costs-minus-typed") << izder << "-" << true;
    QTest::newRow("costs-negative-largest") << izder << "-99999999.99" << true;
    QTest::newRow("costs-negative-too-long") << izder << "-999999999" << false;
    QTest::newRow("costs-letter-left-to-window") << izder << "15x" << true;
    QTest::newRow("costs-too-long-text") << izder << "1234567890123" << false;
    QTest::newRow("vat-largest") << nds << "9999.999" << true;
    QTest::newRow("vat-five-digits") << nds << "10000" << false;
    QTest::newRow("vat-blanks-around") << nds << " 20 " << true;
    QTest::newRow("form-one-letter") << gk << "Г" << true;
    QTest::newRow("form-two-letters") << gk << "ГК" << false;
}

// What a field holds can be typed to the end; one digit more cannot.
void TestFieldProblem::typing()
{
    QFETCH(FieldDef, field);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(store::fitsWhileTyping(field, text), fits);
    if (fits && store::parseNumber(text) != 0)
        QVERIFY(store::fieldProblem(field, text, {}).isEmpty());
}

void TestFieldProblem::charactersAtMost_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "1 знака";
    QTest::newRow("11") << 11 << "11 знаков";
    QTest::newRow("21") << 21 << "21 знака";
    QTest::newRow("60") << 60 << "60 знаков";
    QTest::newRow("254") << 254 << "254 знаков";
}

void TestFieldProblem::charactersAtMost()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(store::charactersAtMost(count), text);
}

QTEST_APPLESS_MAIN(TestFieldProblem)
#include "tst_fieldproblem.moc"
