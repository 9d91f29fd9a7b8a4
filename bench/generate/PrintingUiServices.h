#pragma once

#include "ui/UiServices.h"

#include <QTextStream>

// The user of a benchmark: nothing is shown while measuring; every message is printed on the
// error stream and counted, every question answered No, every dialog cancelled.
class PrintingUiServices : public UiServices {
public:
    int shown = 0;
    void message(Kind, const QString &caption, const QString &text) override {
        ++shown;
        QTextStream(stderr) << caption << ": " << text << '\n';
    }
    Answer question(Kind kind, const QString &caption, const QString &text) override {
        message(kind, caption, text);
        return Answer::No;
    }
    bool input(const QString &, const QString &, QString &) override { return false; }
    QString fileName(Kind, const QString &, const QString &, const QString &) override { return QString(); }
    bool launch(Kind, const QString &, const QStringList &) override { return false; }
    void terminateProcess(int) override {}
};
