// Every text a cashier or the owner types that reaches the database, fed with what a
// pasted name or a careless hand brings along: quotes, statement fragments, LIKE
// wildcards, very long text, characters outside the BMP, control characters,
// right-to-left marks, characters GBK cannot hold, blanks at both ends. Nothing may
// fail with a statement error, and nothing but the cleaned text may be stored.

#include "app/helpers.h"
#include "board/desk_state.h"
#include "checkout/checkout.h"
#include "checkout/recharge.h"
#include "masterdata/class_rules.h"
#include "masterdata/desk_rules.h"
#include "masterdata/dish_rules.h"
#include "masterdata/member_rules.h"
#include "masterdata/staff_rules.h"
#include "ordering/orders.h"
#include "ordering/price_change.h"
#include "staff/login.h"
#include "staff/profile.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace {

// What the store must hold for a typed text, written out independently of the
// program: control characters dropped, single quotes removed, blanks trimmed (also
// those that stood between quotes).
QString cleaned(const QString &typed)
{
    QString t;
    for (const QChar c : typed)
        if (c.category() != QChar::Other_Control)
            t += c;
    return t.remove(QChar('\'')).trimmed();
}

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
}

// What a field accepts, and so what must happen with a typed text.
enum class Rule {
    Text,     // stored cleaned, also when that is empty
    Required, // refused when the cleaned text is empty, else stored cleaned
    Number,   // stored when the cleaned text is a plain number, else refused
    Mobile,   // eleven digits, else refused
    UserName, // a letter, then letters, digits or "_", as typed between blanks
    Method,   // a cooking method: cleaned, without "," and "@@@"; none when empty
    Password, // stored trimmed: signs in with the trimmed text
    Search,   // finds exactly the names that contain the cleaned keyword
    Refused,  // a look-up that finds nothing and writes nothing
};

// What a field did with one typed text.
struct Seen
{
    Seen() = default;
    Seen(bool saved, QString stored, QString message = {})
        : saved(saved)
        , stored(std::move(stored))
        , message(std::move(message))
    {}
    bool saved = false;
    QString stored;         // the value read back (or the names a search found)
    QString message;        // a refusal
    QString expected_found; // for a search: the names that contain the keyword
};

struct Field
{
    QString name;
    Rule rule;
    QString table; // compared before and after a refusal
    std::function<Seen(TestProgram &, const QString &)> run;
};

QString scalar(TestProgram &p, const QString &sql, const SqlParams &params)
{
    TSQLiteDatabase db(p.ctx.db_path);
    return db.scalar(sql, params);
}

Seen saved_row(const SaveOutcome &out, TestProgram &p, const QString &table, const QString &col)
{
    Seen s{out.saved, QString(), out.message};
    if (out.saved)
        s.stored
            = scalar(p, QStringLiteral("SELECT %1 FROM %2 WHERE id=?").arg(col, table), {out.id});
    return s;
}

// A search of a list: what it found, and which of the table's names contain the keyword.
Seen search(TestProgram &p,
            const ListQuery &q,
            const QString &keyword,
            const QString &table,
            const QString &column,
            const QString &where = QString())
{
    Seen s;
    const ListPage page = read_list_page(p.ctx, q, keyword, 1, 100000);
    QStringList found;
    for (int r = 0; r < page.rows.size(); ++r)
        found << page.cell(r, column);
    found.sort();
    s.stored = found.join(QChar('\n'));
    TSQLiteDatabase db(p.ctx.db_path);
    TSQLiteTable t = db.GetTable(QStringLiteral("SELECT %1 FROM %2 %3").arg(column, table, where));
    QStringList expected;
    for (; !t.isEof(); t.Next())
        if (t.FieldAsString(0).contains(cleaned(keyword), Qt::CaseInsensitive))
            expected << t.FieldAsString(0);
    expected.sort();
    s.expected_found = expected.join(QChar('\n'));
    s.saved = true;
    return s;
}

DeskStateForm open_form()
{
    return DeskStateForm{1,
                         QStringLiteral("王先生"),
                         QStringLiteral("0"),
                         QStringLiteral("2"),
                         QStringLiteral("小李")};
}

Seen desk_state(TestProgram &p, const QString &desk, const DeskStateForm &form, const char *column)
{
    const DeskStateResult r = save_desk_state(p.ctx, desk, form);
    Seen s{r.saved, QString(), r.message};
    if (r.saved)
        s.stored = scalar(
            p,
            QStringLiteral("SELECT %1 FROM lumo_desk WHERE id=?").arg(QLatin1String(column)),
            {desk});
    return s;
}

QVector<Field> fields()
{
    QVector<Field> f;
    const auto cls = [](ClassKind kind, bool name_field) {
        return [kind, name_field](TestProgram &p, const QString &typed) {
            const SaveOutcome out
                = name_field ? save_class(p.ctx, kind, QString(), typed, QString())
                             : save_class(p.ctx, kind, QString(), QStringLiteral("分类"), typed);
            return saved_row(out,
                             p,
                             class_table(kind),
                             name_field ? QStringLiteral("title") : QStringLiteral("sort"));
        };
    };
    f << Field{"area name", Rule::Required, "lumo_desk_class", cls(ClassKind::DeskArea, true)}
      << Field{"area sort", Rule::Number, "lumo_desk_class", cls(ClassKind::DeskArea, false)}
      << Field{"category name",
               Rule::Required,
               "lumo_caipin_class",
               cls(ClassKind::DishCategory, true)};

    const auto desk = [](int field) {
        return [field](TestProgram &p, const QString &typed) {
            DeskForm form{QString(),
                          QStringLiteral("新桌"),
                          QStringLiteral("N%1").arg(field),
                          QStringLiteral("0"),
                          QString(),
                          QStringLiteral("0")};
            QString *targets[] = {&form.name, &form.bh, &form.sort, &form.area_name};
            *targets[field] = typed;
            const char *columns[] = {"title", "bh", "sort", "cname"};
            return saved_row(
                save_desk(p.ctx, form), p, "lumo_desk", QString::fromLatin1(columns[field]));
        };
    };
    f << Field{"table name", Rule::Required, "lumo_desk", desk(0)}
      << Field{"table number", Rule::Required, "lumo_desk", desk(1)}
      << Field{"table sort", Rule::Number, "lumo_desk", desk(2)}
      << Field{"table area name", Rule::Text, "lumo_desk", desk(3)};

    const auto dish = [](int field) {
        return [field](TestProgram &p, const QString &typed) {
            DishForm form;
            form.name = QStringLiteral("新菜");
            form.price = QStringLiteral("18");
            form.stock = QStringLiteral("0");
            form.sort = QStringLiteral("0");
            QString method;
            QString *targets[] = {&form.name, &form.price, &form.stock, &form.sort, &method};
            *targets[field] = typed;
            if (field == 4)
                form.methods = {{QString(), typed}};
            const SaveOutcome out = save_dish(p.ctx, form);
            if (field == 4) {
                Seen s{out.saved, QString(), out.message};
                s.stored
                    = scalar(p,
                             "SELECT group_concat(title,'|') FROM lumo_caipin_zuofa WHERE rootid=?",
                             {out.id});
                return s;
            }
            const char *columns[] = {"title", "price", "stock", "sort"};
            Seen s = saved_row(out, p, "lumo_caipin", QString::fromLatin1(columns[field]));
            return s;
        };
    };
    f << Field{"dish name", Rule::Required, "lumo_caipin", dish(0)}
      << Field{"dish price", Rule::Number, "lumo_caipin", dish(1)}
      << Field{"dish stock", Rule::Number, "lumo_caipin", dish(2)}
      << Field{"dish sort", Rule::Number, "lumo_caipin", dish(3)}
      << Field{"cooking method", Rule::Method, "lumo_caipin_zuofa", dish(4)};

    const auto member = [](int field) {
        return [field](TestProgram &p, const QString &typed) {
            MemberForm form{QString(),
                            QStringLiteral("1390000001%1").arg(field),
                            QStringLiteral("会员"),
                            QString()};
            QString *targets[] = {&form.mobile, &form.name, &form.discount};
            *targets[field] = typed;
            const char *columns[] = {"mobile", "truename", "zekou"};
            return saved_row(
                save_member(p.ctx, form), p, "lumo_member", QString::fromLatin1(columns[field]));
        };
    };
    f << Field{"member mobile", Rule::Mobile, "lumo_member", member(0)}
      << Field{"member name", Rule::Required, "lumo_member", member(1)};

    const auto staff = [](int field) {
        return [field](TestProgram &p, const QString &typed) {
            const QString username = QStringLiteral("cook%1").arg(field);
            StaffForm form{QString(),
                           username,
                           QStringLiteral("secret1"),
                           QStringLiteral("厨师"),
                           QStringLiteral("5")};
            QString *targets[] = {&form.username, &form.truename, &form.password};
            *targets[field] = typed;
            const char *columns[] = {"username", "truename", "username"};
            Seen s = saved_row(
                save_staff(p.ctx, form), p, "lumo_admin", QString::fromLatin1(columns[field]));
            if (field == 2 && s.saved) {
                // A password shorter than six characters gives the default one.
                const bool own = typed.trimmed().size() >= 6;
                AppContext other = p.ctx;
                other.account.clear();
                const LoginResult r
                    = login(other, username, own ? typed.trimmed() : DefaultPassword);
                s.stored = r.ok ? typed : r.message;
            }
            return s;
        };
    };
    f << Field{"employee login", Rule::UserName, "lumo_admin", staff(0)}
      << Field{"employee name", Rule::Required, "lumo_admin", staff(1)}
      << Field{"employee password", Rule::Password, "lumo_admin", staff(2)};

    // The table-state dialog; every field on a table of its own.
    const auto state = [](const char *desk, QString DeskStateForm::*field, const char *column) {
        return [=](TestProgram &p, const QString &typed) {
            DeskStateForm form = open_form();
            form.*field = typed;
            return desk_state(p, desk, form, column);
        };
    };
    f << Field{"guest name",
               Rule::Text,
               "lumo_desk",
               state("2", &DeskStateForm::ydtruename, "ydtruename")}
      << Field{"waiter", Rule::Text, "lumo_desk", state("3", &DeskStateForm::fwy, "fwy")}
      << Field{"deposit", Rule::Number, "lumo_desk", state("4", &DeskStateForm::yj, "yj")}
      << Field{"guests", Rule::Number, "lumo_desk", state("5", &DeskStateForm::nums, "nums")};

    // Ordering: the remark of a cart line and of a price change.
    f << Field{"cart remark",
               Rule::Text,
               "lumo_orders_detail",
               [](TestProgram &p, const QString &typed) {
                   const QString order = open_order(p, 6);
                   CartItem item{QStringLiteral("1"),
                                 QStringLiteral("宫保鸡丁"),
                                 QStringLiteral("18"),
                                 QStringLiteral("1"),
                                 QStringLiteral("0"),
                                 QString(),
                                 QString(),
                                 typed};
                   write_cart(p.ctx, order, {item}, QStringLiteral("1700000000"));
                   return Seen{
                       true,
                       scalar(p, "SELECT remark FROM lumo_orders_detail WHERE rootid=?", {order})};
               }}
      << Field{"price change remark",
               Rule::Text,
               "lumo_orders_detail",
               [](TestProgram &p, const QString &typed) {
                   const QString order = open_order(p, 7);
                   add_line(p,
                            order,
                            QStringLiteral("鱼香肉丝"),
                            QStringLiteral("20"),
                            QStringLiteral("1"));
                   const QString line
                       = scalar(p, "SELECT id FROM lumo_orders_detail WHERE rootid=?", {order});
                   const QString total = save_price_changes(
                       p.ctx,
                       order,
                       {PriceEdit{line, QStringLiteral("20"), QStringLiteral("1"), typed}});
                   return Seen{
                       !total.isEmpty(),
                       scalar(p, "SELECT remark FROM lumo_orders_detail WHERE id=?", {line})};
               }};

    // Staff access: the login box and the profile.
    f << Field{"login name",
               Rule::Refused,
               "lumo_admin",
               [](TestProgram &p, const QString &typed) {
                   AppContext other = p.ctx;
                   other.account.clear();
                   const LoginResult r = login(other, typed, QStringLiteral("mivo888"));
                   return Seen{r.ok, QString(), r.message};
               }}
      << Field{"login password",
               Rule::Refused,
               "lumo_admin",
               [](TestProgram &p, const QString &typed) {
                   AppContext other = p.ctx;
                   other.account.clear();
                   const LoginResult r = login(other, QStringLiteral("admin"), typed);
                   return Seen{r.ok, QString(), r.message};
               }}
      << Field{"profile name", Rule::Text, "lumo_admin", [](TestProgram &p, const QString &typed) {
                   const QString toast = save_profile(p.ctx, typed, QString());
                   return Seen{!toast.isEmpty(),
                               scalar(p, "SELECT truename FROM lumo_admin WHERE id=1", {})};
               }};

    // Checkout and recharge: the member looked up by mobile, the amount recharged.
    f << Field{"checkout member mobile",
               Rule::Refused,
               "lumo_member",
               [](TestProgram &p, const QString &typed) {
                   const MemberInfo m = get_member_info(p.ctx, typed);
                   return Seen{m.found, QString(), m.found ? QString() : MemberMissingText};
               }}
      << Field{"recharge amount",
               Rule::Number,
               "lumo_member",
               [](TestProgram &p, const QString &typed) {
                   const QString refusal = recharge_amount_refusal(typed);
                   if (!refusal.isEmpty())
                       return Seen{false, QString(), refusal};
                   const QString uid
                       = scalar(p, "SELECT id FROM lumo_member WHERE mobile='13900000001'", {});
                   const bool ok = set_vip_balance(p.ctx, uid, QStringLiteral("6"), typed);
                   return Seen{ok, scalar(p, "SELECT balance FROM lumo_member WHERE id=?", {uid})};
               }};

    // The keyword of every list.
    f << Field{"area search",
               Rule::Search,
               QString(),
               [](TestProgram &p, const QString &typed) {
                   return search(
                       p, class_list_query(ClassKind::DeskArea), typed, "lumo_desk_class", "title");
               }}
      << Field{"category search",
               Rule::Search,
               QString(),
               [](TestProgram &p, const QString &typed) {
                   return search(p,
                                 class_list_query(ClassKind::DishCategory),
                                 typed,
                                 "lumo_caipin_class",
                                 "title");
               }}
      << Field{"table search",
               Rule::Search,
               QString(),
               [](TestProgram &p, const QString &typed) {
                   return search(p, desk_list_query(), typed, "lumo_desk", "title");
               }}
      << Field{"dish search",
               Rule::Search,
               QString(),
               [](TestProgram &p, const QString &typed) {
                   return search(p, dish_list_query(), typed, "lumo_caipin", "title");
               }}
      << Field{"member search",
               Rule::Search,
               QString(),
               [](TestProgram &p, const QString &typed) {
                   return search(
                       p, member_list_query(), typed, "lumo_member", "truename", "WHERE stat=0");
               }}
      << Field{
             "employee search", Rule::Search, QString(), [](TestProgram &p, const QString &typed) {
                 return search(p, staff_list_query(), typed, "lumo_admin", "username");
             }};
    return f;
}

// Names with the LIKE wildcards in them, and one without, in every list.
void add_wildcard_rows(TestProgram &p)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.transaction([&] {
        for (const char *name : {"满100%减", "套餐_A", "普通"}) {
            const QString n = QString::fromUtf8(name);
            db.ExecSQL("INSERT INTO lumo_desk_class(title,sort) VALUES(?,1)", {n});
            db.ExecSQL("INSERT INTO lumo_caipin_class(title,sort) VALUES(?,1)", {n});
            db.ExecSQL("INSERT INTO lumo_caipin(title,titleen,price,stock) VALUES(?,'',12,0)", {n});
            db.ExecSQL("INSERT INTO lumo_member(mobile,truename) VALUES('',?)", {n});
        }
        db.ExecSQL("INSERT INTO lumo_member(mobile,truename,balance) VALUES('13900000001','钱',0)");
        for (const char *name : {"a%b", "a_b", "axb"})
            db.ExecSQL(
                "INSERT INTO lumo_admin(username,rndstr,encmd5,truename,tid) VALUES(?,'','','x',1)",
                {QString::fromLatin1(name)});
    });
}

// The problem with one field's outcome, empty when it did what it must.
QString judge(const Field &f,
              const Seen &s,
              const QString &typed,
              const QString &before,
              const QString &after)
{
    const QString want = cleaned(typed);
    const auto stored_as = [&](const QString &expected) {
        if (!s.saved)
            return QStringLiteral("refused (%1)").arg(s.message);
        if (s.stored != expected)
            return QStringLiteral("stored %1 chars, want %2 chars")
                .arg(s.stored.size())
                .arg(expected.size());
        return QString();
    };
    const auto refused = [&] {
        if (s.saved)
            return QStringLiteral("accepted");
        if (s.message.isEmpty())
            return QStringLiteral("refused without a message");
        if (before != after)
            return QStringLiteral("refused but wrote");
        return QString();
    };
    switch (f.rule) {
    case Rule::Text:
        return stored_as(want);
    case Rule::Required:
        return want.isEmpty() ? refused() : stored_as(want);
    case Rule::Number:
        if (matches("^[0-9]+(\\.[0-9]+)?$", want))
            return s.saved && s.stored.toDouble() == want.toDouble()
                       ? QString()
                       : QStringLiteral("number refused");
        return want.isEmpty() ? QString() : refused();
    case Rule::Mobile:
        return matches("^[0-9]{11}$", want) ? stored_as(want) : refused();
    case Rule::UserName:
        return matches("^[A-Za-z][A-Za-z0-9_]+$", typed.trimmed()) ? stored_as(want) : refused();
    case Rule::Method: {
        QString m = want;
        m.remove(QChar(','));
        while (m.contains(QStringLiteral("@@@")))
            m.remove(QStringLiteral("@@@"));
        m = m.trimmed();
        if (!s.saved)
            return QStringLiteral("dish refused (%1)").arg(s.message);
        return s.stored == m ? QString()
                             : QStringLiteral("method stored as %1 chars").arg(s.stored.size());
    }
    case Rule::Password:
        return s.saved && s.stored == typed
                   ? QString()
                   : QStringLiteral("cannot sign in: ") + s.stored + s.message;
    case Rule::Search:
        return s.stored == s.expected_found
                   ? QString()
                   : QStringLiteral("found [%1], want [%2]").arg(s.stored, s.expected_found);
    case Rule::Refused:
        return refused();
    }
    return QString();
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldTakesIt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("single quote") << "O'Brien";
        QTest::newRow("double quotes, backslash") << "\"大\"\\厨";
        QTest::newRow("statement end") << "'; DROP TABLE lumo_desk; --";
        QTest::newRow("statement fragment") << "1 OR 1=1; DELETE FROM lumo_admin";
        QTest::newRow("percent") << "%";
        QTest::newRow("underscore") << "_";
        QTest::newRow("wildcards and escape") << "a%b_c\\d";
        QTest::newRow("10000 characters") << QString(10000, QChar(0x957F));
        QTest::newRow("emoji") << "红烧🐟😀👨‍👩‍👧";
        QTest::newRow("outside the BMP") << "𠀀𪚥";
        QTest::newRow("control characters") << "a\x01"
                                               "b\x07"
                                               "c\td\ne\rf";
        QTest::newRow("NUL") << (QStringLiteral("x") + QChar(0) + QStringLiteral("y"));
        QTest::newRow("right-to-left") << "\u202Eabc\u200F שלום";
        QTest::newRow("not in GBK") << "ảŵɐ☃";
        QTest::newRow("blanks around") << "  \t 宫保鸡丁 \u3000 ";
        QTest::newRow("only quotes and blanks") << " ' '' ";
        QTest::newRow("number in blanks") << "  12  ";
        QTest::newRow("separators") << "a,b@@@c";
        QTest::newRow("password in blanks") << "  Secret_99  ";
    }
    void everyFieldTakesIt()
    {
        QFETCH(QString, typed);
        TestProgram p;
        add_desks(p, 8);
        add_wildcard_rows(p);
        const QString schema = scalar(p, "SELECT group_concat(name) FROM sqlite_master", {});
        QStringList failures;
        for (const Field &f : fields()) {
            const QString before = f.table.isEmpty() ? QString() : dump(p, f.table);
            try {
                const Seen s = f.run(p, typed);
                const QString after = f.table.isEmpty() ? QString() : dump(p, f.table);
                if (const QString why = judge(f, s, typed, before, after); !why.isEmpty())
                    failures << f.name + QStringLiteral(": ") + why;
            } catch (const ESQLiteException &e) {
                failures << f.name + QStringLiteral(": store failure ") + e.message();
            }
        }
        // No fragment ran as a statement of its own.
        QCOMPARE(scalar(p, "SELECT group_concat(name) FROM sqlite_master", {}), schema);
        QCOMPARE(scalar(p, "SELECT count(*) FROM lumo_admin WHERE id=1", {}), QString("1"));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QChar('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
