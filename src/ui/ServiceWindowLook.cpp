#include "ui/ServiceWindowLook.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QWidget>

void ApplyServiceWindowLook(QWidget *window) {
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setFixedSize(350, 150);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, 350, 150), 10, 10);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
    window->setWindowOpacity(234.0 / 255.0);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(78, 124, 181));
    palette.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void CentreOnScreen(QWidget *window) {
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
