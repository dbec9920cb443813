#include "support/testkit.h"

#include "app/startup.h"
#include "store/sqlite_db.h"

#include <QDateTime>

bool ScriptedPrompts::confirm(const QString &text)
{
    confirms << text;
    if (answers.empty())
        return defaultAnswer;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedPrompts::information(const QString &text)
{
    infos << text;
}

void ScriptedPrompts::warning(const QString &text)
{
    warnings << text;
}

void ScriptedPrompts::error(const QString &text)
{
    errors << text;
}

bool ScriptedPrompts::retry(const QString &text)
{
    retries << text;
    return on_retry && on_retry(text);
}

int FixedRandom::bounded(int bound)
{
    if (values.empty() || bound <= 0)
        return 0;
    const int v = values.front();
    values.pop_front();
    return v % bound;
}

qint64 wall_ms(int y, int mo, int d, int h, int mi, int s, int ms)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC).toMSecsSinceEpoch();
}

TestProgram::TestProgram()
    : TestProgram(true)
{}

TestProgram::TestProgram(bool start)
    : prompts(std::make_shared<ScriptedPrompts>())
    , clock(std::make_shared<FixedClock>(wall_ms(2024, 3, 5, 14, 7, 9, 125)))
    , random(std::make_shared<FixedRandom>())
{
    ctx.setPrompts(prompts);
    ctx.setClock(clock);
    ctx.setRandom(random);
    if (start)
        start_core(ctx, dir.path());
    else {
        ctx.paths = derive_paths(dir.path());
        ctx.db_path = ctx.paths.default_db;
    }
}

void TestProgram::exec(const QString &sql) const
{
    TSQLiteDatabase db(ctx.db_path);
    db.ExecSQL(sql);
}

QString TestProgram::scalar(const QString &sql) const
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(sql);
}

QStringList TestProgram::rows(const QString &sql) const
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(sql);
    QStringList out;
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        for (int i = 0; i < t.FieldCount(); ++i)
            cells << t.FieldAsString(i);
        out << cells.join('|');
    }
    return out;
}
