#pragma once

// Watches a starting program from outside its code: when its first top-level
// window has painted, reports the milliseconds since the launch. The launching
// script puts the wall-clock time in nanoseconds since 1970 into BENCH_T0 just before
// the program is started, so loading and linking count too.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <functional>

namespace shown_watch {

inline double ms_since_launch()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 t0 = qEnvironmentVariable("BENCH_T0").toLongLong();
    const qint64 ns = qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    return t0 > 0 ? (ns - t0) / 1e6 : -1.0;
}

// Kilobytes of the process's peak resident memory (VmHWM).
inline long peak_rss_kb()
{
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

class Watcher : public QObject
{
public:
    explicit Watcher(std::function<void(QWidget *)> done)
        : m_done(std::move(done))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_fired && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            m_fired = true;
            auto *window = static_cast<QWidget *>(watched);
            // After the rest of this painting pass (the children) and its flush.
            QTimer::singleShot(0, qApp, [this, window] { m_done(window); });
        }
        return false;
    }

private:
    std::function<void(QWidget *)> m_done;
    bool m_fired = false;
};

// Installs the watcher on the application; done gets the painted window.
inline void on_first_paint(std::function<void(QWidget *)> done)
{
    qApp->installEventFilter(new Watcher(std::move(done)));
}

} // namespace shown_watch
