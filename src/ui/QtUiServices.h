#pragma once

#include "ui/UiServices.h"

// The services as the user sees them: Qt message boxes, dialogs and the desktop's programs.
class QtUiServices : public UiServices {
public:
    void message(Kind kind, const QString &caption, const QString &text) override;
    Answer question(Kind kind, const QString &caption, const QString &text) override;
    bool input(const QString &caption, const QString &prompt, QString &value) override;
    QString fileName(Kind kind, const QString &caption, const QString &directory,
                     const QString &filter) override;
    bool launch(Kind kind, const QString &target, const QStringList &arguments) override;
    void terminateProcess(int exitCode) override;
};
