#pragma once

#include <QTabBar>

class QToolButton;

// The tab strip of the main window: tabs as wide as their text, the selected one in bold blue
// with a small close button on it (never on the receipt entry tab), a double click asks to close
// the active window, and dragging the selected tab onto another moves it there.
class TPageControlEx : public QTabBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPageControlEx)

public:
    explicit TPageControlEx(QWidget *parent = nullptr);

    QToolButton *SpdClose = nullptr;

    // Index of the first tab whose caption is exactly this text; -1 when none.
    int findTab(const QString &caption) const;

signals:
    void closeRequested();

protected:
    void tabLayoutChange() override;
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The close button sits on the selected tab, except on the receipt entry tab.
    void placeCloseButton();

    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_dragging = false;
};
