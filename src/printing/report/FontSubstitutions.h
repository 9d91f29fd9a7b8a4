#pragma once

#include <QFont>
#include <QStringList>

// Print styles and forms name the classic Chinese fonts. AR PL UMing, a Ming (Song) face with
// half-width Latin like SimSun, stands in for them, Noto Serif CJK for what it lacks. UMing
// first, because Noto draws the Kangxi radicals (U+2F00...) with the glyphs of the ideographs
// 日, 金, 十, 人 ...: a PDF names each glyph's text by the first character that uses it, so
// the text of a PDF in Noto reads 收款⽇期 instead of 收款日期 and cannot be searched.
// Called by the program at start-up and by tests that lay out or draw text. Inline, so that
// start-up needs nothing else of the report engine.
inline const QString ReportSongFamily = QStringLiteral("AR PL UMing CN");

inline void InstallFontSubstitutions() {
    const QStringList song{ReportSongFamily, QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
}
