#include "data/SpellCode.h"

#include <QHash>
#include <QList>

#include <memory>

#include <unicode/translit.h>
#include <unicode/uscript.h>

namespace {

// Words whose reading differs from the usual reading of one of their characters, as they occur
// in names of goods, companies and people (ICU reads 银行 as yín xíng, 音乐 as yīn lè).
const QHash<QString, QString> &wordInitials() {
    static const QHash<QString, QString> words = {
        {QStringLiteral("银行"), QStringLiteral("YH")}, {QStringLiteral("商行"), QStringLiteral("SH")},
        {QStringLiteral("分行"), QStringLiteral("FH")}, {QStringLiteral("支行"), QStringLiteral("ZH")},
        {QStringLiteral("车行"), QStringLiteral("CH")}, {QStringLiteral("琴行"), QStringLiteral("QH")},
        {QStringLiteral("同行"), QStringLiteral("TH")}, {QStringLiteral("行业"), QStringLiteral("HY")},
        {QStringLiteral("行长"), QStringLiteral("HZ")}, {QStringLiteral("董事长"), QStringLiteral("DSZ")},
        {QStringLiteral("局长"), QStringLiteral("JZ")}, {QStringLiteral("校长"), QStringLiteral("XZ")},
        {QStringLiteral("厂长"), QStringLiteral("CZ")}, {QStringLiteral("部长"), QStringLiteral("BZ")},
        {QStringLiteral("科长"), QStringLiteral("KZ")}, {QStringLiteral("处长"), QStringLiteral("CZ")},
        {QStringLiteral("院长"), QStringLiteral("YZ")}, {QStringLiteral("所长"), QStringLiteral("SZ")},
        {QStringLiteral("县长"), QStringLiteral("XZ")}, {QStringLiteral("市长"), QStringLiteral("SZ")},
        {QStringLiteral("省长"), QStringLiteral("SZ")}, {QStringLiteral("镇长"), QStringLiteral("ZZ")},
        {QStringLiteral("村长"), QStringLiteral("CZ")}, {QStringLiteral("组长"), QStringLiteral("ZZ")},
        {QStringLiteral("队长"), QStringLiteral("DZ")}, {QStringLiteral("班长"), QStringLiteral("BZ")},
        {QStringLiteral("家长"), QStringLiteral("JZ")}, {QStringLiteral("增长"), QStringLiteral("ZZ")},
        {QStringLiteral("成长"), QStringLiteral("CZ")}, {QStringLiteral("生长"), QStringLiteral("SZ")},
        {QStringLiteral("音乐"), QStringLiteral("YY")}, {QStringLiteral("乐器"), QStringLiteral("YQ")},
        {QStringLiteral("乐队"), QStringLiteral("YD")}, {QStringLiteral("乐团"), QStringLiteral("YT")},
        {QStringLiteral("乐谱"), QStringLiteral("YP")}, {QStringLiteral("乐曲"), QStringLiteral("YQ")},
        {QStringLiteral("声乐"), QStringLiteral("SY")}, {QStringLiteral("器乐"), QStringLiteral("QY")},
        {QStringLiteral("重庆"), QStringLiteral("CQ")}, {QStringLiteral("重复"), QStringLiteral("CF")},
        {QStringLiteral("重新"), QStringLiteral("CX")}, {QStringLiteral("重叠"), QStringLiteral("CD")},
        {QStringLiteral("会计"), QStringLiteral("KJ")}, {QStringLiteral("空调"), QStringLiteral("KT")},
        {QStringLiteral("调料"), QStringLiteral("TL")}, {QStringLiteral("调味"), QStringLiteral("TW")},
        {QStringLiteral("调节"), QStringLiteral("TJ")}, {QStringLiteral("调整"), QStringLiteral("TZ")},
        {QStringLiteral("调和"), QStringLiteral("TH")}, {QStringLiteral("厦门"), QStringLiteral("XM")},
        {QStringLiteral("西藏"), QStringLiteral("XZ")}, {QStringLiteral("阿胶"), QStringLiteral("EJ")},
        {QStringLiteral("人参"), QStringLiteral("RS")}, {QStringLiteral("海参"), QStringLiteral("HS")},
        {QStringLiteral("党参"), QStringLiteral("DS")}, {QStringLiteral("弹簧"), QStringLiteral("TH")},
        {QStringLiteral("弹性"), QStringLiteral("TX")}, {QStringLiteral("弹力"), QStringLiteral("TL")},
        {QStringLiteral("番禺"), QStringLiteral("PY")}, {QStringLiteral("便宜"), QStringLiteral("PY")},
        {QStringLiteral("曾经"), QStringLiteral("CJ")}, {QStringLiteral("未曾"), QStringLiteral("WC")},
        {QStringLiteral("不曾"), QStringLiteral("BC")},
    };
    return words;
}
constexpr qsizetype longestWord = 3;

// Characters whose most common reading in names is not ICU's first one: 长 as in 长沙, 长城,
// 长江 (cháng, not zhǎng); the surnames 曾 (Zēng) and 翟 (Zhái).
QChar characterInitial(char32_t c) {
    switch (c) {
    case U'长':
        return u'C';
    case U'曾':
    case U'翟':
        return u'Z';
    default:
        return QChar();
    }
}

// The base letter of a letter or digit: Ａ → A, é → e, ０ → 0; a null character when there is
// no ASCII one.
QChar asciiBase(const QString &text) {
    const QString base = text.normalized(QString::NormalizationForm_KD);
    if (base.isEmpty())
        return QChar();
    const QChar first = base[0];
    return first.unicode() < 0x80 && first.isLetterOrNumber() ? first : QChar();
}

// ICU's Han-Latin reading, one character at a time, cached per thread (creating the
// transliterator costs about a tenth of a second).
class PinyinInitials {
public:
    QChar initial(char32_t c) {
        const auto cached = m_cache.constFind(c);
        if (cached != m_cache.constEnd())
            return *cached;
        QChar letter;
        if (translit()) {
            icu::UnicodeString text(static_cast<UChar32>(c));
            m_translit->transliterate(text);
            std::string utf8;
            text.toUTF8String(utf8);
            letter = asciiBase(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).left(1));
            if (!letter.isLetter())
                letter = QChar();
        }
        m_cache.insert(c, letter.toUpper());
        return letter.toUpper();
    }

private:
    icu::Transliterator *translit() {
        if (!m_tried) {
            m_tried = true;
            UErrorCode status = U_ZERO_ERROR;
            m_translit.reset(icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8("Han-Latin"),
                                                                 UTRANS_FORWARD, status));
            if (U_FAILURE(status))
                m_translit.reset();
        }
        return m_translit.get();
    }

    bool m_tried = false;
    std::unique_ptr<icu::Transliterator> m_translit;
    QHash<char32_t, QChar> m_cache;
};

bool isHan(char32_t c) {
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_HAN && U_SUCCESS(status);
}

QString fromCodePoints(const QList<char32_t> &points, qsizetype from, qsizetype count) {
    return QString::fromUcs4(points.constData() + from, count);
}

} // namespace

QString GetSpellCode(const QString &text) {
    if (text.isEmpty())
        return QString();
    thread_local PinyinInitials pinyin;
    const QList<uint> ucs4 = text.toUcs4();
    const QList<char32_t> points(ucs4.cbegin(), ucs4.cend());
    QString code;
    code.reserve(points.size());
    for (qsizetype i = 0; i < points.size();) {
        const char32_t c = points[i];
        if (isHan(c)) {
            // The longest known word that starts here, else the character by itself.
            qsizetype matched = 0;
            for (qsizetype length = longestWord; length >= 2 && matched == 0; --length) {
                if (i + length > points.size())
                    continue;
                const auto word = wordInitials().constFind(fromCodePoints(points, i, length));
                if (word != wordInitials().constEnd()) {
                    code += *word;
                    matched = length;
                }
            }
            if (matched > 0) {
                i += matched;
                continue;
            }
            QChar letter = characterInitial(c);
            if (letter.isNull())
                letter = pinyin.initial(c);
            if (!letter.isNull())
                code += letter;
        } else if (QChar::isLetterOrNumber(c)) {
            const bool latin = QChar::script(c) == QChar::Script_Latin || QChar::isDigit(c);
            const QChar base = latin ? asciiBase(fromCodePoints(points, i, 1)) : QChar();
            if (!base.isNull())
                code += base.toUpper();
        }
        ++i;
    }
    return code;
}
