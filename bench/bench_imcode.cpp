// Times search_code() over a generated menu of 5,000 dish names, the work
// done when a whole menu is imported or its search codes are rebuilt.

#include "masterdata/imcode.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QStringList make_menu(int count)
{
    const QStringList methods = {
        u"宫保"_s, u"鱼香"_s, u"干煸"_s, u"水煮"_s, u"红烧"_s, u"清蒸"_s, u"糖醋"_s,
        u"麻辣"_s, u"酸辣"_s, u"蒜泥"_s, u"泡椒"_s, u"椒盐"_s, u"回锅"_s, u"香辣"_s,
        u"爆炒"_s, u"凉拌"_s, u"干锅"_s, u"铁板"_s, u"啤酒"_s, u"豆豉"_s,
    };
    const QStringList ingredients = {
        u"鸡丁"_s,   u"肉丝"_s,   u"牛肉"_s, u"排骨"_s,   u"鲈鱼"_s, u"茄子"_s, u"豆腐"_s,
        u"土豆丝"_s, u"肥肠"_s,   u"虾仁"_s, u"鸭血"_s,   u"腰花"_s, u"鱿鱼"_s, u"花菜"_s,
        u"藕片"_s,   u"五花肉"_s, u"兔丁"_s, u"牛蛙"_s,   u"黄鳝"_s, u"鸡翅"_s, u"海参"_s,
        u"花蛤"_s,   u"四季豆"_s, u"莴笋"_s, u"上海青"_s,
    };
    const QStringList suffixes = {
        QString(),
        QString(),
        QString(),
        u"(大份)"_s,
        u"(小份)"_s,
        u"（中份）"_s,
        u" 500ml"_s,
        u"套餐A"_s,
        u"2人份"_s,
        u"【招牌】"_s,
        u"煲"_s,
        u"饭"_s,
    };

    QStringList menu;
    menu.reserve(count);
    // A fixed linear congruential sequence: the same menu on every run.
    quint32 state = 12345;
    const auto next = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % quint32(n));
    };
    for (int i = 0; i < count; ++i) {
        QString name = methods[next(methods.size())] + ingredients[next(ingredients.size())];
        if (next(4) == 0)
            name += ingredients[next(ingredients.size())];
        name += suffixes[next(suffixes.size())];
        menu << name;
    }
    return menu;
}

} // namespace

int main()
{
    constexpr int kDishes = 5000;
    constexpr int kRounds = 20;
    const QStringList menu = make_menu(kDishes);

    // One untimed pass so the converter setup is not counted.
    qsizetype checksum = 0;
    for (const QString &name : menu)
        checksum += search_code(name).size();

    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < kRounds; ++round)
        for (const QString &name : menu)
            checksum += search_code(name).size();
    const qint64 ns = timer.nsecsElapsed();

    const long long calls = static_cast<long long>(kDishes) * kRounds;
    std::printf("dishes: %d, rounds: %d, calls: %lld\n", kDishes, kRounds, calls);
    std::printf(
        "example: %s -> %s\n", qPrintable(menu.first()), qPrintable(search_code(menu.first())));
    std::printf("total: %.3f ms, per call: %.3f us (checksum %lld)\n",
                double(ns) / 1e6,
                double(ns) / 1e3 / double(calls),
                static_cast<long long>(checksum));
    std::printf("per menu of %d dishes: %.3f ms\n", kDishes, double(ns) / 1e6 / kRounds);
    return 0;
}
