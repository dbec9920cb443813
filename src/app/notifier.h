#pragma once

#include <QObject>
#include <QString>

// The one way a change travels. A core function that writes emits here after its
// transaction commits, whoever called it (a window, a timer, a request from a phone or
// the kitchen); every screen and page feed that shows the data subscribes to what it shows.
// Ids are the database ids as text, as everywhere else in the program.
class ChangeNotifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // A table's row changed: status, guests, deposit, waiter, amounts, a marker.
    void desk_changed(const QString &desk_id);
    // The guests of one table moved to another (both tables changed too).
    void desk_transferred(const QString &from_desk_id, const QString &to_desk_id);
    // Lines of an order were added, removed or changed (status, quantity, price), or the
    // order was settled. desk_id is the order's table, empty when not known.
    void lines_changed(const QString &order_id, const QString &desk_id);
    // Tables or table areas were added, edited or deleted.
    void areas_changed();
    // Dishes, dish categories or cooking methods were added, edited or deleted.
    void dishes_changed();
    // A member's row changed (balance, discount, data); empty id: several members.
    void member_changed(const QString &member_id);
    // Staff accounts changed (added, edited, deleted, password).
    void staff_changed();
    // The in-memory settings were saved.
    void settings_changed();
    // The database file was replaced (a restore) or emptied of demonstration data:
    // everything shown must be read again.
    void database_replaced();
    // The signed-in account changed (signed in, signed out).
    void account_changed();
    // A ticket, a receipt or a drawer pulse waits in the print queue for its printer.
    void print_queued();
};
