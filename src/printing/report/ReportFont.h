#pragma once

#include <QColor>
#include <QString>

// A font as the report names it: the family as written in the file (宋体 is mapped to an
// installed font when drawn), the size in points.
struct ReportFont {
    QString family = QStringLiteral("宋体");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    bool operator==(const ReportFont &) const = default;
};
