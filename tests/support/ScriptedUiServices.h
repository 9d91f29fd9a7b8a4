#pragma once

#include "ui/UiServices.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QVariant>

// The user, as tests play it: records every text the program shows and answers questions,
// input boxes, file dialogs and launches from a queue. A question without a queued answer,
// or an answer left unused when the object dies, fails the running test.
// Installs itself on construction and uninstalls on destruction.
class ScriptedUiServices : public UiServices {
public:
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    ScriptedUiServices();
    ~ScriptedUiServices() override;

    // Queued answers, used in order by whatever asks next.
    void answer(Answer a) { m_answers.enqueue(QVariant::fromValue(static_cast<int>(a))); }
    void answerInput(const QString &value) { m_answers.enqueue(value); }
    void cancelInput() { m_answers.enqueue(QVariant()); }
    void answerFileName(const QString &path) { m_answers.enqueue(path); }
    void answerLaunch(bool ok) { m_answers.enqueue(ok); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    QList<QStringList> launches() const { return m_launches; }
    void clear() { m_shown.clear(); }
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }

    void message(Kind kind, const QString &caption, const QString &text) override;
    Answer question(Kind kind, const QString &caption, const QString &text) override;
    bool input(const QString &caption, const QString &prompt, QString &value) override;
    QString fileName(Kind kind, const QString &caption, const QString &directory,
                     const QString &filter) override;
    bool launch(Kind kind, const QString &target, const QStringList &arguments) override;
    void terminateProcess(int exitCode) override;
    // The exit code the program asked to end with; -1 while it has not.
    int terminatedWith() const { return m_exitCode; }

private:
    QVariant takeAnswer(const QString &what);

    QList<Shown> m_shown;
    QQueue<QVariant> m_answers;
    QList<QStringList> m_launches;
    int m_exitCode = -1;
};
