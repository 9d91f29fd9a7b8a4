#include "ui/ChildTabHost.h"

namespace {
ChildTabHost *installed = nullptr;
}

ChildTabHost *ChildTabHost::current() {
    return installed;
}

void ChildTabHost::install(ChildTabHost *host) {
    installed = host;
}

QString TabCaptionOf(const QString &caption) {
    return caption == EntryCaption ? caption : caption + QStringLiteral("      ");
}

bool ActivateChild(const QString &caption) {
    return installed && installed->activateChild(caption);
}

void AddChildTab() {
    if (installed)
        installed->addChildTab();
}

void ShowChildTab(bool show, const QString &caption) {
    if (installed)
        installed->showChildTab(show, caption);
}

void CloseActiveChild() {
    if (installed)
        installed->closeActiveChild();
}

void CopyReceiptToEntry() {
    if (installed)
        installed->copyReceiptToEntry();
}
