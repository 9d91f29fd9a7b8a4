#pragma once

#include <QFont>

// Print styles and forms name the classic Chinese fonts; Noto stands in for them. Called by
// the program at start-up and by tests that lay out or draw text. Inline, so that start-up
// needs nothing else of the report engine.
inline void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));
}
