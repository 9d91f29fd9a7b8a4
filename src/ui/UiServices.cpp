#include "ui/UiServices.h"

#include "data/Globals.h"
#include "ui/QtUiServices.h"

namespace {
UiServices *installed = nullptr;
}

UiServices &UiServices::current() {
    if (installed)
        return *installed;
    static QtUiServices qtServices;
    return qtServices;
}

void UiServices::install(UiServices *services) {
    installed = services;
}

void ShowInfo(const QString &text) {
    UiServices::current().message(UiServices::Kind::Info, InfoCaption, text);
}

void ShowError(const QString &text) {
    UiServices::current().message(UiServices::Kind::Error, AppTitle, text);
}

bool AskYesNo(const QString &text) {
    return UiServices::current().question(UiServices::Kind::YesNo, QuestionCaption, text) ==
           UiServices::Answer::Yes;
}

UiServices::Answer AskYesNoCancel(const QString &text) {
    return UiServices::current().question(UiServices::Kind::YesNoCancel, QuestionCaption, text);
}

bool AskOkCancel(const QString &text) {
    return UiServices::current().question(UiServices::Kind::OkCancel, QuestionCaption, text) ==
           UiServices::Answer::Yes;
}

bool AskConfirm(const QString &caption, const QString &text) {
    return UiServices::current().question(UiServices::Kind::Confirm, caption, text) ==
           UiServices::Answer::Yes;
}

bool InputBox(const QString &caption, const QString &prompt, QString &value) {
    return UiServices::current().input(caption, prompt, value);
}

QString OpenFileName(const QString &caption, const QString &directory, const QString &filter) {
    return UiServices::current().fileName(UiServices::Kind::OpenFile, caption, directory, filter);
}

QString SaveFileName(const QString &caption, const QString &directory, const QString &filter) {
    return UiServices::current().fileName(UiServices::Kind::SaveFile, caption, directory, filter);
}

bool OpenWithSystem(const QString &documentFolderOrUrl) {
    return UiServices::current().launch(UiServices::Kind::Open, documentFolderOrUrl, {});
}

bool StartProgram(const QString &program, const QStringList &arguments) {
    return UiServices::current().launch(UiServices::Kind::Start, program, arguments);
}

void TerminateProgram(int exitCode) {
    UiServices::current().terminateProcess(exitCode);
}
