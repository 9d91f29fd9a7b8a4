#pragma once

#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

class QWidget;

// The Enter key of a form's fields: Enter in one field moves the focus to the next one of the
// walk, as Tab would (its text comes selected). A field may have a step of its own instead,
// which returns false to let the walk move on as usual. Enter in the last field without a
// step of its own is left to the field (a memo takes it as a new line). Editable combo boxes are watched
// through their line edits too.
class EnterWalk : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EnterWalk)

public:
    EnterWalk(const QList<QWidget *> &fields, QObject *parent);

    // Enter in field runs step first; a field outside the walk may have a step as well.
    void setStep(QWidget *field, std::function<bool()> step);

    static bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *field);
    QWidget *fieldOf(QObject *watched) const;

    QList<QWidget *> m_fields;
    QHash<QWidget *, std::function<bool()>> m_steps;
};
