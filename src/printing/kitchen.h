#pragma once

#include "app/context.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TSQLiteDatabase;

// Kitchen stations and the tickets they get: each station (凉菜, 热菜, 面点, 酒水 ...)
// takes the dishes of its categories on its own printer; a dish whose category has no
// station goes to the kitchen printer of the settings. The kitchen is told of new
// lines, of more of a line it has, and of what it must not cook any more (退菜单).

struct PrintStation
{
    QString id; // empty: not saved yet
    QString title;
    QString printer; // "host:port" or a system queue name
    QString cids;    // category ids joined by ","
    int copies = 1;
    bool enabled = true;
    int columns = 48; // 48: 80 mm paper, 32: 58 mm
};

QVector<PrintStation> read_stations(const AppContext &ctx);
// Saves (inserts when the id is empty, giving it one); a refusal's text, or empty.
QString save_station(AppContext &ctx, PrintStation &station);
void delete_station(AppContext &ctx, const QString &id);

inline const QString StationTitleMissingText = QStringLiteral("请输入出单位置名称");
inline const QString StationPrinterMissingText = QStringLiteral("请输入打印机");
inline const QString StationCopiesText = QStringLiteral("打印份数应为1到9");

// [Print] auto_kitchen: "一键批量落单" sends the new lines to the kitchen at once.
bool auto_kitchen(const AppContext &ctx);
void set_auto_kitchen(const AppContext &ctx, bool on);
// [Print] cash_drawer: a cash settlement opens the drawer on the receipt printer.
bool cash_drawer(const AppContext &ctx);
void set_cash_drawer(const AppContext &ctx, bool on);

// Inside the caller's transaction: queues one ticket per station for the order's lines
// the kitchen does not have yet (status 0), and for lines it has in another quantity
// (more: a ticket of the difference, fewer: a return ticket). Lines sent are marked
// "已打单" (1). Returns the number of jobs queued; the caller announces them after
// its commit (notifier print_queued).
int queue_new_lines(AppContext &ctx, TSQLiteDatabase &db, const QString &order_id);
// Inside the caller's transaction, before lines are returned or deleted: a return
// ticket at every station that has one of them. ids: line ids joined by ",".
int queue_returned_lines(AppContext &ctx, TSQLiteDatabase &db, const QString &ids);
// After a settlement: the drawer pulse on the receipt printer when the setting is on,
// the pay type is cash and the receipt printer is a network printer. True when queued.
bool queue_cash_drawer(AppContext &ctx, const QString &paytype);
// "开钱箱": the pulse at once; the refusal's text, or empty.
QString open_drawer(AppContext &ctx);
inline const QString DrawerNeedsNetText
    = QStringLiteral("开钱箱需要网络小票打印机（在系统设置中把客打打印机设为“地址:端口”）");

// The ticket of one station: the lines as the kitchen reads them.
struct TicketLine
{
    QString title;
    qint64 quantity = 0;
    QString methods;
    QString remark;
    bool more = false; // more of a dish the kitchen already has
};
struct TicketHead
{
    QString station;
    QString desk_bh;
    QString time; // "yyyy-mm-dd hh:mm"
    QString waiter;
    bool returns = false; // a return ticket (退菜单)
};
QByteArray station_ticket(const TicketHead &head, const QVector<TicketLine> &lines, int columns);
