#pragma once

#include <QWidget>

// Base of the work windows that open as tabs of the main window: it takes the child size of
// the main window, keeps its caption (the caption is how the main window finds it), selects
// its tab when it becomes active, removes the tab and frees itself when it closes, and closes
// on Esc.
class TChildForm : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TChildForm)

public:
    explicit TChildForm(const QString &caption, QWidget *parent = nullptr);

signals:
    // The form accepted its close: it is on its way out.
    void formClosed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
