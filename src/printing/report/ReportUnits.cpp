#include "printing/report/ReportUnits.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

QString UnitsToText(int units) {
    const qint64 magnitude = std::abs(static_cast<qint64>(units));
    QString text = QString::number(magnitude / UnitsPerMm);
    const int fraction = static_cast<int>(magnitude % UnitsPerMm);
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return units < 0 ? u'-' + text : text;
}

bool TextToUnits(QStringView text, int &units) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,7}(\\.[0-9]{1,12})?$"));
    if (!number.match(text).hasMatch())
        return false;
    // Whole hundredths come from the digits themselves; only the rest is rounded.
    const bool negative = text.startsWith(u'-');
    const QStringView body = negative ? text.mid(1) : text;
    const qsizetype point = body.indexOf(u'.');
    const QStringView whole = point < 0 ? body : body.left(point);
    const QString fraction = point < 0 ? QString() : body.mid(point + 1).toString();
    qint64 value = whole.toLongLong() * UnitsPerMm;
    value += fraction.leftJustified(2, u'0').left(2).toInt();
    if (fraction.size() > 2 && fraction.at(2) >= u'5')
        ++value; // half away from zero
    if (value > std::numeric_limits<int>::max())
        return false;
    units = static_cast<int>(negative ? -value : value);
    return true;
}

double PointsToUnits(double points) {
    return points * 25.4 * UnitsPerMm / 72.0;
}
