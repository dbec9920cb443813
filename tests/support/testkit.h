#pragma once

#include "app/context.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>

// Answers confirmation boxes from a queue (OK when the queue is empty unless told
// otherwise) and records every box that was asked for.
class ScriptedPrompts : public Prompts
{
public:
    bool confirm(const QString &text) override;
    void information(const QString &text) override;
    void warning(const QString &text) override;
    void error(const QString &text) override;
    // Asks on_retry when set; otherwise "退出".
    bool retry(const QString &text) override;

    void queue(bool answer) { answers.push_back(answer); }

    std::deque<bool> answers;
    bool defaultAnswer = true;
    QStringList confirms;
    QStringList infos;
    QStringList warnings;
    QStringList errors;
    QStringList retries;
    std::function<bool(const QString &)> on_retry;
};

// A clock that stands still until moved.
class FixedClock : public Clock
{
public:
    explicit FixedClock(qint64 ms)
        : ms(ms)
    {}
    qint64 now_ms() const override { return ms; }
    qint64 ms;
};

// Returns the queued numbers in turn (modulo the bound), then 0.
class FixedRandom : public Random
{
public:
    int bounded(int bound) override;
    std::deque<int> values;
};

// A fresh program folder with its own tavira.db and config/info.ini, set up by the
// start-up steps, with scripted boxes and a fixed clock (2024-03-05 14:07:09.125).
class TestProgram
{
public:
    TestProgram();
    explicit TestProgram(bool start);

    QString path(const QString &relative) const { return dir.filePath(relative); }
    // Runs one statement on the program's database.
    void exec(const QString &sql) const;
    QString scalar(const QString &sql) const;
    // Every row of a query, its cells joined by '|'.
    QStringList rows(const QString &sql) const;

    QTemporaryDir dir;
    AppContext ctx;
    std::shared_ptr<ScriptedPrompts> prompts;
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<FixedRandom> random;
};

// Milliseconds of a local wall-clock time as the program counts them.
qint64 wall_ms(int y, int mo, int d, int h, int mi, int s, int ms = 0);
