#pragma once

#include "app/context.h"
#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

// Boxes for a benchmark: every question gets the same answer, nothing is shown,
// and a store failure is printed so a broken run does not pass unnoticed.
class BenchPrompts : public Prompts
{
public:
    explicit BenchPrompts(bool answer)
        : m_answer(answer)
    {}
    bool confirm(const QString &) override { return m_answer; }
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &text) override
    {
        std::fprintf(stderr, "store error: %s\n", qPrintable(text));
    }

private:
    bool m_answer;
};

// The program folder as start-up leaves it (folders, info.ini, the schema), with
// every question answered yes: the folder named as the first argument (kept), or
// else a temporary one removed when the benchmark ends. Returns the folder.
inline QString start_bench(AppContext &ctx, int argc, char **argv)
{
    QString folder;
    if (argc > 1) {
        folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    } else {
        static QTemporaryDir temp;
        folder = temp.path();
    }
    QDir().mkpath(folder);
    ctx.setPrompts(std::make_shared<BenchPrompts>(true));
    start_core(ctx, folder);
    return folder;
}

// Timings of a benchmark, printed as one table with each operation's target.
class BenchTable
{
public:
    // One untimed warm-up, then `runs` timed calls of work; prepare runs untimed
    // before each, followed by the event loop's pending work.
    void measure(const QString &name,
                 int runs,
                 double target,
                 const std::function<void()> &work,
                 const std::function<void()> &prepare = {})
    {
        std::vector<double> ms, cpu;
        for (int i = 0; i <= runs; ++i) {
            if (prepare)
                prepare();
            QApplication::processEvents();
            QElapsedTimer t;
            const double c0 = thread_cpu_ms();
            t.start();
            work();
            const double elapsed = t.nsecsElapsed() / 1e6;
            const double used = thread_cpu_ms() - c0;
            if (i > 0) {
                ms.push_back(elapsed);
                cpu.push_back(used);
            }
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        m_rows.push_back({name, runs, ms[ms.size() / 2], ms.back(), cpu[cpu.size() / 2], target});
    }

    void print() const
    {
        std::printf("\n%-44s %5s %10s %10s %10s %8s\n",
                    "operation",
                    "runs",
                    "median ms",
                    "max ms",
                    "cpu ms",
                    "target");
        for (const Row &r : m_rows)
            std::printf("%-44s %5d %10.2f %10.2f %10.2f %8.0f  %s\n",
                        qPrintable(r.name),
                        r.runs,
                        r.median,
                        r.max,
                        r.cpu_median,
                        r.target,
                        r.max < r.target ? "met" : (r.median < r.target ? "median met" : "MISSED"));
    }

private:
    struct Row
    {
        QString name;
        int runs;
        double median;
        double max;
        double cpu_median; // this thread's processor time: what it costs on a busy machine
        double target;
    };
    static double thread_cpu_ms()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    std::vector<Row> m_rows;
};
