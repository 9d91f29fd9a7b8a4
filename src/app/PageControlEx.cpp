#include "app/PageControlEx.h"

#include "ui/ChildTabHost.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace {
constexpr int StripHeight = 23;
}

TPageControlEx::TPageControlEx(QWidget *parent)
    : QTabBar(parent) {
    setObjectName(QStringLiteral("PageControlEx"));
    setExpanding(false);
    setDrawBase(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setFixedHeight(StripHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    SpdClose = new QToolButton(this);
    SpdClose->setObjectName(QStringLiteral("SpdClose"));
    SpdClose->setText(QStringLiteral("X"));
    SpdClose->setToolTip(QStringLiteral("关闭当前窗体"));
    SpdClose->setFixedSize(16, 16);
    SpdClose->setAutoRaise(true);
    SpdClose->setFocusPolicy(Qt::NoFocus);
    SpdClose->setStyleSheet(QStringLiteral("QToolButton { color: grey; font-weight: bold; border: none; }"
                                           "QToolButton:hover { color: red; }"));
    SpdClose->hide();
    connect(SpdClose, &QToolButton::clicked, this, &TPageControlEx::closeRequested);
    connect(this, &QTabBar::currentChanged, this, &TPageControlEx::placeCloseButton);
}

void TPageControlEx::placeCloseButton() {
    if (!SpdClose)
        return; // still being built
    const int index = currentIndex();
    if (index < 0 || tabText(index) == EntryCaption) {
        SpdClose->hide();
        return;
    }
    const QRect r = tabRect(index);
    SpdClose->move(r.x() + r.width() - 19, r.y() + 2);
    SpdClose->show();
}

void TPageControlEx::tabLayoutChange() {
    QTabBar::tabLayoutChange();
    placeCloseButton();
}

int TPageControlEx::findTab(const QString &caption) const {
    for (int i = 0; i < count(); ++i)
        if (tabText(i) == caption)
            return i;
    return -1;
}

QSize TPageControlEx::tabSizeHint(int index) const {
    QFont bold = font();
    bold.setBold(true);
    return {QFontMetrics(bold).horizontalAdvance(tabText(index)) + 14, StripHeight};
}

void TPageControlEx::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        const QString text = tabText(i).left(99);
        if (i == currentIndex()) {
            p.fillRect(r, palette().color(QPalette::Light));
            QFont bold = font();
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(Qt::blue);
            p.drawText(r.adjusted(6, 6, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        } else {
            p.fillRect(r, palette().color(QPalette::Button));
            p.setFont(font());
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r.adjusted(4, 3, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        }
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

void TPageControlEx::mousePressEvent(QMouseEvent *event) {
    QTabBar::mousePressEvent(event);
    m_pressed = true;
    m_dragging = false;
    m_pressPos = event->position().toPoint();
}

void TPageControlEx::mouseMoveEvent(QMouseEvent *event) {
    if (m_pressed &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
        m_dragging = true;
    QTabBar::mouseMoveEvent(event);
}

void TPageControlEx::mouseReleaseEvent(QMouseEvent *event) {
    QTabBar::mouseReleaseEvent(event);
    if (m_dragging) {
        const int target = tabAt(event->position().toPoint());
        if (target >= 0 && target != currentIndex())
            moveTab(currentIndex(), target);
    }
    m_pressed = false;
    m_dragging = false;
}

void TPageControlEx::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit closeRequested();
}
