#include "printing/report/ReportPainter.h"

#include "printing/report/ReportFonts.h"

#include <QHash>
#include <QPainter>

namespace {

QPen penFor(const ReportPen &pen) {
    if (pen.width <= 0 || !pen.color.isValid())
        return Qt::NoPen;
    Qt::PenStyle style = Qt::SolidLine;
    if (pen.style == LineStyle::Dash)
        style = Qt::DashLine;
    else if (pen.style == LineStyle::Dot)
        style = Qt::DotLine;
    return QPen(pen.color, pen.width, style, Qt::FlatCap, Qt::MiterJoin);
}

QRectF pictureBox(const PreparedItem &item) {
    const QRectF box(item.rect.left, item.rect.top, item.rect.width, item.rect.height);
    if (!item.keepAspect || item.image.isNull())
        return box;
    QSizeF size = item.image.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(),
                  size.height());
}

} // namespace

void PaintPage(QPainter &painter, const PreparedPage &page, const QRectF &target) {
    if (page.width <= 0 || page.height <= 0)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.width, target.height() / page.height);
    const QRect paper(0, 0, page.width, page.height);
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper, Qt::IntersectClip);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);

    QHash<QString, QFont> fonts;
    for (const PreparedItem &item : page.items) {
        switch (item.kind) {
        case PreparedItem::Kind::Text: {
            const QString key = item.font.family + u'|' + QString::number(item.font.pointSize) + u'|' +
                                QString::number(int(item.font.bold) | int(item.font.italic) << 1 |
                                                int(item.font.underline) << 2);
            auto font = fonts.find(key);
            if (font == fonts.end())
                font = fonts.insert(key, ReportQFont(item.font));
            painter.setFont(*font);
            painter.setPen(item.font.color);
            const bool clipped = item.clip.width > 0 && item.clip.height > 0;
            if (clipped) {
                painter.save();
                painter.setClipRect(QRectF(item.clip.left, item.clip.top, item.clip.width, item.clip.height),
                                    Qt::IntersectClip);
            }
            painter.drawText(QPointF(item.rect.left, item.baseline), item.text);
            if (clipped)
                painter.restore();
            break;
        }
        case PreparedItem::Kind::Line: {
            const QPen pen = penFor(item.pen);
            if (pen.style() == Qt::NoPen)
                break;
            painter.setPen(pen);
            painter.drawLine(QPointF(item.rect.left, item.rect.top),
                             QPointF(item.rect.right(), item.rect.bottom()));
            break;
        }
        case PreparedItem::Kind::Rectangle:
            painter.setPen(penFor(item.pen));
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(QRectF(item.rect.left, item.rect.top, item.rect.width, item.rect.height));
            painter.setBrush(Qt::NoBrush);
            break;
        case PreparedItem::Kind::Picture:
            painter.drawImage(pictureBox(item), item.image);
            break;
        }
    }
    painter.restore();
}
