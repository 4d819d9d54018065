#include "advancedcombobox.h"

#include <QTest>

class tst_AdvancedComboBox : public QObject
{
    Q_OBJECT

private slots:
    void selectsByItemData_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QVariantList>("data");
        QTest::addColumn<int>("startIndex");
        QTest::addColumn<QVariant>("wanted");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("index");

        const QStringList three { "show", "hide", "other" };
        const QVariantList data { 0, 1, 1 };
        QTest::newRow("empty combo") << QStringList() << QVariantList() << -1 << QVariant(0)
                                     << int(Qt::UserRole) << false << -1;
        QTest::newRow("unknown data keeps index")
            << three << data << 2 << QVariant(7) << int(Qt::UserRole) << false << 2;
        QTest::newRow("first match wins")
            << three << data << 0 << QVariant(1) << int(Qt::UserRole) << true << 1;
        QTest::newRow("other role") << three << data << 0 << QVariant(QStringLiteral("other"))
                                    << int(Qt::DisplayRole) << true << 2;
        QTest::newRow("invalid data matches nothing")
            << three << data << 1 << QVariant() << int(Qt::UserRole) << false << 1;
    }

    void selectsByItemData()
    {
        QFETCH(QStringList, items);
        QFETCH(QVariantList, data);
        QFETCH(int, startIndex);
        QFETCH(QVariant, wanted);
        QFETCH(int, role);
        QFETCH(bool, found);
        QFETCH(int, index);

        AdvancedComboBox combo;
        for (int i = 0; i < items.size(); ++i)
            combo.addItem(items.at(i), data.at(i));
        combo.setCurrentIndex(startIndex);

        QCOMPARE(combo.setCurrentIndexByItemData(wanted, role), found);
        QCOMPARE(combo.currentIndex(), index);
    }
};

QTEST_MAIN(tst_AdvancedComboBox)
#include "tst_advancedcombobox.moc"
