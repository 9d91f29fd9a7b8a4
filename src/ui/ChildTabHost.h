#pragma once

#include <QString>

// The main window's tab strip as the forms see it. Tabbed child forms and the receipt query
// reach it through these routines; the main window installs itself as the host.
class ChildTabHost {
public:
    virtual ~ChildTabHost() = default;

    // Brings an open child window with this caption to the front; false when none is open.
    virtual bool activateChild(const QString &caption) = 0;
    // Adds a tab for the active child window and selects it.
    virtual void addChildTab() = 0;
    // show: selects the child's tab; otherwise removes it.
    virtual void showChildTab(bool show, const QString &caption) = 0;
    // Closes the active child window unless it is the receipt entry window.
    virtual void closeActiveChild() = 0;
    // Opens or brings forward the receipt entry window and runs its "复制单据" command.
    virtual void copyReceiptToEntry() = 0;

    static ChildTabHost *current();
    static void install(ChildTabHost *host); // not owned; nullptr removes it
};

// The caption of the receipt entry window: its tab carries no blanks and never closes.
inline const QString EntryCaption = QStringLiteral("单据录入");
// A child's tab caption: its caption followed by six blanks (room for the close button),
// the receipt entry window's caption as it is.
QString TabCaptionOf(const QString &caption);

bool ActivateChild(const QString &caption);
void AddChildTab();
void ShowChildTab(bool show, const QString &caption);
void CloseActiveChild();
void CopyReceiptToEntry();
