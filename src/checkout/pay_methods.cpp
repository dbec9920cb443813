#include "checkout/pay_methods.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray pay_methods_json()
{
    static const char *titles[] = {"微信(在线扫码)",
                                   "支付宝(在线扫码)",
                                   "微信(直接结算)",
                                   "支付宝(直接结算)",
                                   "现金(直接结算)",
                                   "银行卡(直接结算)",
                                   "其它(直接结算)"};
    QJsonArray list;
    for (int i = 0; i < 7; ++i)
        list.append(QJsonObject{{QStringLiteral("id"), QString::number(i + 1)},
                                {QStringLiteral("title"), QString::fromUtf8(titles[i])}});
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

QVector<PayMethod> pay_methods()
{
    QVector<PayMethod> out;
    const QJsonArray list = QJsonDocument::fromJson(pay_methods_json()).array();
    for (const QJsonValue &v : list) {
        const QJsonObject o = v.toObject();
        out.append({o.value(QStringLiteral("id")).toString(),
                    o.value(QStringLiteral("title")).toString()});
    }
    return out;
}

bool is_online_method(const QString &id)
{
    return id == PayWeChatOnline || id == PayAlipayOnline;
}

bool pay_method_checked(int index, const QString &id, const QString &defaultpay)
{
    const QString chosen = defaultpay.trimmed();
    if (chosen.isEmpty())
        return index == 2;
    return chosen == id;
}

QPoint pay_button_pos(int index)
{
    return QPoint(index % 2 == 0 ? 15 : 175, 25 + 30 * (index / 2));
}
