#include "ui/LookupCloser.h"

#include <QMouseEvent>
#include <QWidget>

LookupCloser::LookupCloser(QWidget *lookup, QWidget *box, QObject *parent)
    : ApplicationEventWatcher(parent)
    , m_lookup(lookup)
    , m_box(box) {}

bool LookupCloser::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
        break;
    default:
        return false;
    }
    if (!m_lookup->isVisible())
        return false;
    const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
    if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target)
        return false;
    const auto inside = [target](QWidget *widget) {
        return widget == target || widget->isAncestorOf(target);
    };
    if (inside(m_lookup) || (inside(m_box) && m_box->hasFocus()))
        return false;
    m_lookup->hide();
    return false;
}
