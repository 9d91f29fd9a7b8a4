#include "ui/list/ListTickCommands.h"

#include "ui/list/ListView.h"

#include <QAction>

QList<QAction *> MakeTickCommands(ListView *list, QWidget *parent) {
    auto *all = new QAction(QStringLiteral("全选"), parent);
    auto *none = new QAction(QStringLiteral("全清"), parent);
    auto *invert = new QAction(QStringLiteral("反选"), parent);
    QObject::connect(all, &QAction::triggered, list, &ListView::tickAll);
    QObject::connect(none, &QAction::triggered, list, &ListView::clearTicks);
    QObject::connect(invert, &QAction::triggered, list, &ListView::invertTicks);
    return {all, none, invert};
}
