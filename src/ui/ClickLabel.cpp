#include "ui/ClickLabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
