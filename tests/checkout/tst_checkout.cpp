// The checkout's rules without a window: payable amount, the deduction field,
// member lookup, the payment methods, and the totals and lines read from an order.
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class TestCheckout : public QObject
{
    Q_OBJECT

private slots:
    void payable_data()
    {
        QTest::addColumn<double>("allprice");
        QTest::addColumn<double>("zk");
        QTest::addColumn<double>("balance");
        QTest::addColumn<QString>("deduction");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("reduction");
        QTest::addColumn<QString>("payprice");
        QTest::addColumn<QString>("shown");

        QTest::newRow("no input") << 100.0 << 60.0 << 0.0 << ""
                                  << ""
                                  << ""
                                  << "100.00"
                                  << "-0.00";
        QTest::newRow("8.5 on 60 of 100") << 100.0 << 60.0 << 0.0 << ""
                                          << "8.5"
                                          << ""
                                          << "91.00"
                                          << "-9.00";
        QTest::newRow("8.5 and 5 off") << 100.0 << 60.0 << 0.0 << ""
                                       << "8.5"
                                       << "5"
                                       << "86.00"
                                       << "-14.00";
        QTest::newRow("fields trimmed") << 100.0 << 60.0 << 0.0 << " "
                                        << " 8.5 "
                                        << " 5 "
                                        << "86.00"
                                        << "-14.00";
        QTest::newRow("discount 0.5") << 100.0 << 60.0 << 0.0 << ""
                                      << "0.5"
                                      << ""
                                      << "100.00"
                                      << "-0.00";
        QTest::newRow("discount 1") << 100.0 << 60.0 << 0.0 << ""
                                    << "1"
                                    << ""
                                    << "46.00"
                                    << "-54.00";
        QTest::newRow("discount 10") << 100.0 << 60.0 << 0.0 << ""
                                     << "10"
                                     << ""
                                     << "100.00"
                                     << "-0.00";
        QTest::newRow("discount 12") << 100.0 << 60.0 << 0.0 << ""
                                     << "12"
                                     << ""
                                     << "100.00"
                                     << "-0.00";
        QTest::newRow("discount abc") << 100.0 << 60.0 << 0.0 << ""
                                      << "abc"
                                      << ""
                                      << "100.00"
                                      << "-0.00";
        QTest::newRow("discount -8") << 100.0 << 60.0 << 0.0 << ""
                                     << "-8"
                                     << ""
                                     << "100.00"
                                     << "-0.00";
        QTest::newRow("member discount text") << 100.0 << 60.0 << 0.0 << ""
                                              << "8.50"
                                              << ""
                                              << "91.00"
                                              << "-9.00";
        QTest::newRow("surcharge of 5") << 100.0 << 60.0 << 0.0 << ""
                                        << ""
                                        << "-5"
                                        << "105.00"
                                        << "+5.00";
        QTest::newRow("surcharge after discount") << 100.0 << 60.0 << 0.0 << ""
                                                  << "8.5"
                                                  << "-20"
                                                  << "111.00"
                                                  << "+11.00";
        QTest::newRow("reduction abc") << 100.0 << 60.0 << 0.0 << ""
                                       << ""
                                       << "abc"
                                       << "100.00"
                                       << "-0.00";
        QTest::newRow("no sub-cent remainder") << 33.33 << 33.33 << 0.0 << ""
                                               << "8.5"
                                               << ""
                                               << "28.33"
                                               << "-5.00";
        // 10.01 x 0.5 = 5.005: half a cent goes up, though the double is 5.00499...
        QTest::newRow("half a cent up") << 10.01 << 10.01 << 0.0 << ""
                                        << "5"
                                        << ""
                                        << "5.01"
                                        << "-5.00";
        QTest::newRow("balance pays all") << 150.0 << 0.0 << 200.0 << "150"
                                          << ""
                                          << ""
                                          << "0.00"
                                          << "-0.00";
        QTest::newRow("balance pays part") << 150.0 << 0.0 << 200.0 << "50.5"
                                           << ""
                                           << ""
                                           << "99.50"
                                           << "-0.00";
        QTest::newRow("deduction over balance ignored") << 150.0 << 0.0 << 30.0 << "50"
                                                        << ""
                                                        << ""
                                                        << "150.00"
                                                        << "-0.00";
        QTest::newRow("deduction without member ignored") << 150.0 << 0.0 << 0.0 << "50"
                                                          << ""
                                                          << ""
                                                          << "150.00"
                                                          << "-0.00";
        QTest::newRow("nothing left to pay") << 0.0 << 0.0 << 0.0 << ""
                                             << "8"
                                             << ""
                                             << "0.00"
                                             << "-0.00";
    }
    void payable()
    {
        QFETCH(double, allprice);
        QFETCH(double, zk);
        QFETCH(double, balance);
        QFETCH(QString, deduction);
        QFETCH(QString, discount);
        QFETCH(QString, reduction);
        QFETCH(QString, payprice);
        QFETCH(QString, shown);
        const Payable p = auto_cal({allprice, zk}, balance, deduction, discount, reduction);
        QVERIFY(!p.negative());
        QCOMPARE(QString::asprintf("%.2f", p.payprice), payprice);
        QCOMPARE(reduction_text(p.reduction), shown);
        // What is charged is whole cents.
        QCOMPARE(p.payprice * 100, double(qRound64(p.payprice * 100)));
    }

    void reductionOverAmount()
    {
        const Payable p = auto_cal({100.0, 60.0}, 0, "", "8.5", "91.01");
        QVERIFY(p.negative());
        QCOMPARE(QString::asprintf("%.2f", p.payprice), QString("-0.01"));
        QVERIFY(!auto_cal({100.0, 60.0}, 0, "", "8.5", "91").negative());
    }

    void severalPointsWarn()
    {
        ScriptedPrompts prompts;
        const Payable p = auto_cal({100.0, 60.0}, 0, "", "8..5", "", &prompts);
        QCOMPARE(p.payprice, 100.0);
        QCOMPARE(prompts.warnings, QStringList{"请检查小数点输入是否正确！"});
    }

    void deductionField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("balance");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty counts as 0") << "" << 0.0 << "";
        QTest::newRow("within") << "30" << 30.0 << "";
        QTest::newRow("decimal within") << " 12.5 " << 30.0 << "";
        QTest::newRow("over") << "50" << 30.0 << "扣除的金额超过账户余额";
        QTest::newRow("cent over") << "30.01" << 30.0 << "扣除的金额超过账户余额";
        QTest::newRow("no member") << "1" << 0.0 << "扣除的金额超过账户余额";
        QTest::newRow("letters") << "abc" << 30.0 << "扣除数据错误";
        QTest::newRow("minus") << "-5" << 30.0 << "扣除数据错误";
        QTest::newRow("two points") << "1.2.3" << 30.0 << "扣除数据错误";
    }
    void deductionField()
    {
        QFETCH(QString, text);
        QFETCH(double, balance);
        QFETCH(QString, message);
        QCOMPARE(check_deduction(text, balance), message);
    }

    void mobileNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("valid") << "13800138000" << true;
        QTest::newRow("ten digits") << "1380013800" << false;
        QTest::newRow("twelve digits") << "138001380001" << false;
        QTest::newRow("not 1 first") << "23800138000" << false;
        QTest::newRow("with a point") << "1380013.000" << false;
        QTest::newRow("letters") << "1380013800a" << false;
        QTest::newRow("empty") << "" << false;
    }
    void mobileNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QCOMPARE(is_mobile(text), ok);
    }

    void memberLookup()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
               "VALUES(7,'13800138000','李四',850,200.5),(8,'13900139000','王五',1000,0)");
        const MemberInfo m = get_member_info(p.ctx, "13800138000");
        QVERIFY(m.found);
        QCOMPARE(m.id, QString("7"));
        QCOMPARE(m.truename, QString("李四"));
        QCOMPARE(m.zekou, QString("8.50"));
        QCOMPARE(m.balance_value, 200.5);
        QCOMPARE(get_member_info(p.ctx, "13900139000").zekou, QString("10.00"));
        QVERIFY(!get_member_info(p.ctx, "13700137000").found);
    }

    // Numbers are compared as the texts they are: what reads as the same number
    // but is typed otherwise is another member, and a deleted member is none.
    void memberLookupComparesTexts_data()
    {
        QTest::addColumn<QString>("stored"); // the value as an SQL literal
        QTest::addColumn<int>("stat");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("as typed") << "'13800138000'" << 0 << "13800138000" << true;
        QTest::newRow("stored as a number") << "13800138000" << 0 << "13800138000" << true;
        QTest::newRow("leading zero typed") << "13800138000" << 0 << "013800138000" << false;
        QTest::newRow("decimal typed") << "13800138000" << 0 << "13800138000.0" << false;
        QTest::newRow("leading zero stored") << "'01380013800'" << 0 << "1380013800" << false;
        QTest::newRow("deleted member") << "'13800138000'" << 4 << "13800138000" << false;
    }
    void memberLookupComparesTexts()
    {
        QFETCH(QString, stored);
        QFETCH(int, stat);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        TestProgram p;
        p.exec(QStringLiteral(
                   "INSERT INTO lumo_member(id,mobile,truename,stat) VALUES(7,%1,'李四',%2)")
                   .arg(stored)
                   .arg(stat));
        const MemberInfo m = get_member_info(p.ctx, typed);
        QCOMPARE(m.found, found);
        if (found)
            QCOMPARE(m.id, QString("7"));
    }

    void payMethodList()
    {
        const QJsonArray json = QJsonDocument::fromJson(pay_methods_json()).array();
        QStringList seen;
        for (const QJsonValue &v : json)
            seen << v.toObject().value("id").toString() + ":"
                        + v.toObject().value("title").toString();
        const QStringList expected{"1:微信(在线扫码)",
                                   "2:支付宝(在线扫码)",
                                   "3:微信(直接结算)",
                                   "4:支付宝(直接结算)",
                                   "5:现金(直接结算)",
                                   "6:银行卡(直接结算)",
                                   "7:其它(直接结算)"};
        QCOMPARE(seen, expected);
        QStringList read;
        QList<QPoint> at;
        for (const PayMethod &m : pay_methods()) {
            read << m.id + ":" + m.title;
            at << pay_button_pos(int(at.size()));
        }
        QCOMPARE(read, expected);
        QCOMPARE(at,
                 (QList<QPoint>{
                     {15, 25}, {175, 25}, {15, 55}, {175, 55}, {15, 85}, {175, 85}, {15, 115}}));
        QVERIFY(is_online_method("1") && is_online_method("2") && !is_online_method("3"));
    }

    void defaultMethod_data()
    {
        QTest::addColumn<QString>("defaultpay");
        QTest::addColumn<QString>("checked");
        QTest::newRow("none set") << ""
                                  << "3";
        QTest::newRow("blank") << "  "
                               << "3";
        QTest::newRow("cash") << "5"
                              << "5";
        QTest::newRow("online") << "1"
                                << "1";
        QTest::newRow("other") << "7"
                               << "7";
        QTest::newRow("outside the list") << "8"
                                          << "";
        QTest::newRow("zero") << "0"
                              << "";
        QTest::newRow("letters") << "abc"
                                 << "";
    }
    void defaultMethod()
    {
        QFETCH(QString, defaultpay);
        QFETCH(QString, checked);
        QStringList on;
        const QVector<PayMethod> list = pay_methods();
        for (int i = 0; i < list.size(); ++i)
            if (pay_method_checked(i, list[i].id, defaultpay))
                on << list[i].id;
        QCOMPARE(on.join(','), checked);
    }

    // Totals and lines of an order: returned and settled lines do not count, the
    // tableware line and dishes without discount are not discountable.
    void totalsAndLines()
    {
        TestProgram p;
        p.exec(
            "INSERT INTO lumo_caipin(id,title,price,iszk) VALUES(1,'鱼','30',1),(2,'酒','10',0)");
        const QString order = "5";
        p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal) VALUES(5,'o',1,0)");
        TSQLiteDatabase db(p.ctx.db_path);
        const auto line = [&](int dish, const char *title, double price, int q, int stat) {
            db.ExecSQL("INSERT INTO lumo_orders_detail(rootid,caipinid,title,oneprice,quantity,"
                       "stat,zfidstr,remark) VALUES(5,?,?,?,?,?,'微辣','少盐')",
                       {dish, QString::fromUtf8(title), price, q, stat});
        };
        line(0, "餐具", 2.0, 4, 0); // tableware: no dish row
        line(1, "鱼", 30.0, 2, 3);
        line(2, "酒", 10.0, 3, 1);
        line(1, "鱼", 30.0, 1, 8); // returned
        line(2, "酒", 10.0, 1, 9); // settled status
        const CheckoutTotals t = getalprice(p.ctx, order);
        QCOMPARE(t.allprice, 98.0);
        QCOMPARE(t.allzekouprice, 60.0);

        const QVector<CheckoutLine> lines = read_checkout_lines(p.ctx, order);
        QCOMPARE(lines.size(), 5);
        QStringList rows;
        for (const CheckoutLine &l : lines)
            rows << QStringList{l.number,
                                l.title,
                                l.oneprice,
                                l.quantity,
                                l.amount,
                                l.zk,
                                l.stat,
                                l.returned ? "grey" : ""}
                        .join('|');
        QCOMPARE(rows,
                 (QStringList{"01|餐具|2.00|4|8.00|不打折|已下单|",
                              "02|鱼|30.00|2|60.00|打折|已出餐|",
                              "03|酒|10.00|3|30.00|不打折|已打单|",
                              "04|鱼|30.00|1|30.00|打折|已退菜|grey",
                              "05|酒|10.00|1|10.00|不打折|已结算|"}));
        QCOMPARE(lines[1].zfidstr, QString("微辣"));
        QCOMPARE(lines[1].remark, QString("少盐"));
        QCOMPARE(order_line_count(p.ctx, order), 5);

        // With every line returned the bill is 0.00.
        db.ExecSQL("UPDATE lumo_orders_detail SET stat=8");
        const CheckoutTotals none = getalprice(p.ctx, order);
        QCOMPARE(none.allprice, 0.0);
        QCOMPARE(none.allzekouprice, 0.0);
        QCOMPARE(auto_cal(none, 0, "", "8", "").payprice, 0.0);
        // The no-order sentinel has neither lines nor amounts.
        QCOMPARE(order_line_count(p.ctx, "9999999999999"), 0);
        QCOMPARE(getalprice(p.ctx, "9999999999999").allprice, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestCheckout)
#include "tst_checkout.moc"
