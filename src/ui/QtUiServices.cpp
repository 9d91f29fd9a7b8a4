#include "ui/QtUiServices.h"

#include "data/Globals.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <cstdlib>

namespace {
QWidget *parentWindow() {
    return QApplication::activeWindow();
}

QMessageBox::Icon iconOf(UiServices::Kind kind) {
    switch (kind) {
    case UiServices::Kind::Warning:
        return QMessageBox::Warning;
    case UiServices::Kind::Error:
        return QMessageBox::Critical;
    case UiServices::Kind::YesNo:
    case UiServices::Kind::YesNoCancel:
    case UiServices::Kind::OkCancel:
        return QMessageBox::Question;
    case UiServices::Kind::Confirm:
        return QMessageBox::NoIcon;
    default:
        return QMessageBox::Information;
    }
}
} // namespace

void QtUiServices::message(Kind kind, const QString &caption, const QString &text) {
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::Ok, parentWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

UiServices::Answer QtUiServices::question(Kind kind, const QString &caption, const QString &text) {
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::NoButton, parentWindow());
    if (kind == Kind::OkCancel || kind == Kind::Confirm) {
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        QPushButton *cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == cancel ? Answer::Cancel : Answer::Yes;
    }
    QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    QPushButton *cancel = nullptr;
    if (kind == Kind::YesNoCancel) {
        cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(no);
    }
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (cancel && box.clickedButton() == cancel)
        return Answer::Cancel;
    return Answer::No;
}

bool QtUiServices::input(const QString &caption, const QString &prompt, QString &value) {
    QInputDialog dialog(parentWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString QtUiServices::fileName(Kind kind, const QString &caption, const QString &directory,
                               const QString &filter) {
    if (kind == Kind::SaveFile)
        return QFileDialog::getSaveFileName(parentWindow(), caption, directory, filter);
    return QFileDialog::getOpenFileName(parentWindow(), caption, directory, filter);
}

bool QtUiServices::launch(Kind kind, const QString &target, const QStringList &arguments) {
    if (kind == Kind::Start)
        return QProcess::startDetached(target, arguments);
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

void QtUiServices::terminateProcess(int exitCode) {
    std::_Exit(exitCode);
}
