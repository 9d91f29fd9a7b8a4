#include "ui/ChildForm.h"

#include "data/Globals.h"
#include "ui/ChildTabHost.h"

#include <QCloseEvent>
#include <QKeyEvent>

TChildForm::TChildForm(const QString &caption, QWidget *parent)
    : QWidget(parent) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(835, 500);
    if (ChildWidth > 0 && ChildHeight > 0)
        resize(ChildWidth, ChildHeight);
}

void TChildForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    ShowChildTab(true, windowTitle());
}

void TChildForm::closeEvent(QCloseEvent *event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        ShowChildTab(false, windowTitle());
        emit formClosed();
    }
}

void TChildForm::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
