#include "app/context.h"
#include "app/notifier.h"

#include <QDateTime>
#include <QRandomGenerator>

qint64 Clock::now_ms() const
{
    // Local wall-clock time counted as if it were UTC.
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
}

int Random::bounded(int bound)
{
    return bound > 0 ? QRandomGenerator::global()->bounded(bound) : 0;
}

namespace {
// Used until a window installs real boxes: answers Cancel and shows nothing.
class SilentPrompts : public Prompts
{
public:
    bool confirm(const QString &) override { return false; }
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &) override {}
};
} // namespace

AppContext::AppContext()
    : m_clock(std::make_shared<Clock>())
    , m_random(std::make_shared<Random>())
    , m_prompts(std::make_shared<SilentPrompts>())
    , m_notifier(std::make_shared<ChangeNotifier>())
{}
