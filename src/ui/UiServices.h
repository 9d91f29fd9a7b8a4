#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box, question, input box, file dialog, "open with the system's program" and
// program start of Quillo goes through the one installed UiServices object. The program
// installs QtUiServices; tests install a scripted one that records what the user would see
// and answers from a queue.
class UiServices {
public:
    enum class Kind {
        Info,
        Warning,
        Error,
        YesNo,
        YesNoCancel,
        OkCancel,
        Confirm, // OK/cancel without an icon, under the caller's caption
        Input,
        OpenFile,
        SaveFile,
        Open,
        Start,
        Terminate
    };
    enum class Answer { Yes, No, Cancel };

    virtual ~UiServices() = default;

    virtual void message(Kind kind, const QString &caption, const QString &text) = 0;
    // Yes/no, yes/no/cancel and OK/cancel questions; OK counts as Yes.
    virtual Answer question(Kind kind, const QString &caption, const QString &text) = 0;
    // Returns false when the user cancelled.
    virtual bool input(const QString &caption, const QString &prompt, QString &value) = 0;
    // A file name, or an empty text when the user cancelled.
    virtual QString fileName(Kind kind, const QString &caption, const QString &directory,
                             const QString &filter) = 0;
    // Opens a document, folder or web address with the system's program (kind Open),
    // or starts a program (kind Start). False when it could not be done.
    virtual bool launch(Kind kind, const QString &target, const QStringList &arguments) = 0;
    // Ends the process at once with the exit code: no questions, no clean-up.
    virtual void terminateProcess(int exitCode) = 0;

    static UiServices &current();
    // Installs a service object (not owned); nullptr returns to the Qt one.
    static void install(UiServices *services);
};

// The conveniences every form calls.
inline const QString InfoCaption = QStringLiteral("提示");
inline const QString QuestionCaption = QStringLiteral("询问");

// Message box captioned "提示" with the information icon.
void ShowInfo(const QString &text);
// Error box with the error icon, captioned with the application title (unhandled errors).
void ShowError(const QString &text);
// Yes/No box captioned "询问" with the question icon; true for Yes.
bool AskYesNo(const QString &text);
UiServices::Answer AskYesNoCancel(const QString &text);
bool AskOkCancel(const QString &text);
// OK/Cancel box without an icon under the given caption; true for OK.
bool AskConfirm(const QString &caption, const QString &text);
bool InputBox(const QString &caption, const QString &prompt, QString &value);
QString OpenFileName(const QString &caption, const QString &directory, const QString &filter);
QString SaveFileName(const QString &caption, const QString &directory, const QString &filter);
bool OpenWithSystem(const QString &documentFolderOrUrl);
bool StartProgram(const QString &program, const QStringList &arguments = {});
// Ends the program at once (the lock's "exit", the restart after a restore).
void TerminateProgram(int exitCode = 0);
