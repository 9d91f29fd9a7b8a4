#include "ui/EnterWalk.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

EnterWalk::EnterWalk(const QList<QWidget *> &fields, QObject *parent)
    : QObject(parent)
    , m_fields(fields) {
    for (QWidget *field : fields)
        watch(field);
}

void EnterWalk::setStep(QWidget *field, std::function<bool()> step) {
    if (!m_fields.contains(field) && !m_steps.contains(field))
        watch(field);
    m_steps.insert(field, std::move(step));
}

void EnterWalk::watch(QWidget *field) {
    field->installEventFilter(this);
    if (auto *box = qobject_cast<QComboBox *>(field); box && box->lineEdit())
        box->lineEdit()->installEventFilter(this);
}

QWidget *EnterWalk::fieldOf(QObject *watched) const {
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return nullptr;
    if (m_fields.contains(widget) || m_steps.contains(widget))
        return widget;
    // The line edit of an editable combo box stands for its box.
    if (auto *box = qobject_cast<QComboBox *>(widget->parentWidget()); box && box->lineEdit() == widget)
        if (m_fields.contains(box) || m_steps.contains(box))
            return box;
    return nullptr;
}

bool EnterWalk::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent *>(event)->key()))
        return false;
    QWidget *field = fieldOf(watched);
    if (!field)
        return false;
    if (const auto step = m_steps.constFind(field); step != m_steps.constEnd() && (*step)())
        return true;
    const qsizetype at = m_fields.indexOf(field);
    if (at < 0 || at + 1 >= m_fields.size())
        return false;
    m_fields[at + 1]->setFocus(Qt::TabFocusReason);
    return true;
}
