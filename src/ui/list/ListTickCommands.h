#pragma once

#include <QList>

class ListView;
class QAction;
class QWidget;

// The three tick commands of a checkable list, as actions for its popup menu:
// "全选" ticks every row, "全清" clears every tick, "反选" inverts every row.
// The actions belong to parent; the window gives them its own objectNames.
QList<QAction *> MakeTickCommands(ListView *list, QWidget *parent);
