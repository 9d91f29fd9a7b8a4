#pragma once

#include <QLabel>

// A label that acts like a link or a toggle: it reports a left click.
class ClickLabel : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClickLabel)

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
