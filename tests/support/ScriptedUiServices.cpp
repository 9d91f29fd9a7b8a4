#include "ScriptedUiServices.h"

#include <QTest>

ScriptedUiServices::ScriptedUiServices() {
    UiServices::install(this);
}

ScriptedUiServices::~ScriptedUiServices() {
    UiServices::install(nullptr);
    if (!m_answers.isEmpty())
        QTest::qFail(
            qPrintable(QStringLiteral("%1 queued answer(s) were never asked for").arg(m_answers.size())),
            __FILE__, __LINE__);
}

QStringList ScriptedUiServices::texts() const {
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}

QVariant ScriptedUiServices::takeAnswer(const QString &what) {
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 without a queued answer").arg(what)), __FILE__,
                     __LINE__);
        return {};
    }
    return m_answers.dequeue();
}

void ScriptedUiServices::message(Kind kind, const QString &caption, const QString &text) {
    m_shown.append({kind, caption, text});
}

UiServices::Answer ScriptedUiServices::question(Kind kind, const QString &caption, const QString &text) {
    m_shown.append({kind, caption, text});
    const QVariant a = takeAnswer(QStringLiteral("question \"%1\"").arg(text));
    return a.isValid() ? static_cast<Answer>(a.toInt()) : Answer::Cancel;
}

bool ScriptedUiServices::input(const QString &caption, const QString &prompt, QString &value) {
    m_shown.append({Kind::Input, caption, prompt});
    const QVariant a = takeAnswer(QStringLiteral("input box \"%1\"").arg(prompt));
    if (!a.isValid())
        return false;
    value = a.toString();
    return true;
}

QString ScriptedUiServices::fileName(Kind kind, const QString &caption, const QString &, const QString &) {
    m_shown.append({kind, caption, QString()});
    return takeAnswer(QStringLiteral("file dialog \"%1\"").arg(caption)).toString();
}

bool ScriptedUiServices::launch(Kind kind, const QString &target, const QStringList &arguments) {
    m_shown.append({kind, QString(), target});
    m_launches.append(QStringList{target} + arguments);
    return takeAnswer(QStringLiteral("launch of \"%1\"").arg(target)).toBool();
}

void ScriptedUiServices::terminateProcess(int exitCode) {
    m_shown.append({Kind::Terminate, QString(), QString::number(exitCode)});
    m_exitCode = exitCode;
}
