#pragma once

#include <QTableView>

// The view of the receipt line grid. Its cells are edited by editors that float over the
// current cell (the panel places them); the view reports when the focus enters it and when
// its cells move under those editors (scrolling, resizing).
class ReceiptGridView : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReceiptGridView)

public:
    explicit ReceiptGridView(QWidget *parent = nullptr);

signals:
    void focusEntered();
    void cellsMoved();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
};
