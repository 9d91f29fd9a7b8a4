#include "ui/ButtonAccessKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

ButtonAccessKeys::ButtonAccessKeys(QWidget *window, const QList<QAbstractButton *> &buttons)
    : ApplicationEventWatcher(window)
    , m_window(window)
    , m_buttons(buttons) {}

QAbstractButton *ButtonAccessKeys::buttonFor(QObject *watched, QEvent *event) const {
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return nullptr;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || !m_window->isVisible() || !(target == m_window || m_window->isAncestorOf(target)))
        return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(key->key())));
    for (QAbstractButton *button : m_buttons)
        if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    return nullptr;
}

bool ButtonAccessKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    QAbstractButton *button = buttonFor(watched, event);
    if (!button)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress)
        button->click();
    return true;
}
