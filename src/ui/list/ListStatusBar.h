#pragma once

#include <QStatusBar>

class QLabel;
class ListView;

// The status bar of a list window: "总记录：" + rows, "当前行：" + the current row (1-based,
// 0 when there is none) and, for checkable lists, "已勾选：" + the ticked rows. Once it
// follows a list, the panels keep up with it by themselves: loads, appended chunks, removed
// rows, the current row and every tick.
class ListStatusBar : public QStatusBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListStatusBar)

public:
    // ticks: show the "已勾选：" panel.
    explicit ListStatusBar(bool ticks, QWidget *parent = nullptr);

    void follow(ListView *list);

    // Panel 0, 1 or 2 as shown.
    QString panelText(int panel) const;

private:
    void refresh();

    QLabel *m_panels[3];
    ListView *m_list = nullptr;
};
