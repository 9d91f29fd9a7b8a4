#include "printing/report/MemoText.h"

#include <QRegularExpression>

QList<MemoTextPart> ParseMemoText(const QString &text) {
    static const QRegularExpression reference(QStringLiteral(R"re(\[([^\[\]".\s]+)\."([^"]*)"\])re"));
    QList<MemoTextPart> parts;
    qsizetype done = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart() > done)
            parts.append({text.mid(done, m.capturedStart() - done), {}, {}});
        parts.append({{}, m.captured(1), m.captured(2)});
        done = m.capturedEnd();
    }
    if (done < text.size())
        parts.append({text.mid(done), {}, {}});
    return parts;
}
