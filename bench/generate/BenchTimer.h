#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QTextStream>
#include <algorithm>

// Repeated timings of one operation, reported as their median (and the limit, when there is one).
class BenchTimer {
public:
    void start() { m_timer.start(); }
    void stop() { m_samples.append(m_timer.nsecsElapsed()); }

    qint64 median() const {
        QList<qint64> s = m_samples;
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }

    void report(QTextStream &out, const QString &what, double limitMs = 0) const {
        out << what << ": " << QString::number(median() / 1e6, 'f', 2) << " ms";
        if (limitMs > 0)
            out << " (limit " << limitMs << " ms)";
        out << '\n';
    }

private:
    QElapsedTimer m_timer;
    QList<qint64> m_samples;
};
