#include "printing/report/ReportFile.h"

#include "printing/report/ReportError.h"
#include "printing/report/ReportUnits.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

namespace {

const QString RootElement = QStringLiteral("QuilloReport");

template <typename E> using Names = std::initializer_list<std::pair<E, const char *>>;

const Names<BandKind> bandKinds = {{BandKind::ReportTitle, "ReportTitle"},
                                   {BandKind::PageHeader, "PageHeader"},
                                   {BandKind::MasterData, "MasterData"},
                                   {BandKind::DetailData, "DetailData"},
                                   {BandKind::Child, "Child"},
                                   {BandKind::ReportSummary, "ReportSummary"},
                                   {BandKind::PageFooter, "PageFooter"}};
const Names<HAlign> hAligns = {{HAlign::Left, "left"}, {HAlign::Center, "center"}, {HAlign::Right, "right"}};
const Names<VAlign> vAligns = {{VAlign::Top, "top"}, {VAlign::Center, "center"}, {VAlign::Bottom, "bottom"}};
const Names<BandAlign> bandAligns = {{BandAlign::None, "none"},
                                     {BandAlign::Left, "left"},
                                     {BandAlign::Center, "center"},
                                     {BandAlign::Right, "right"}};
const Names<LineStyle> lineStyles = {
    {LineStyle::Solid, "solid"}, {LineStyle::Dash, "dash"}, {LineStyle::Dot, "dot"}};
const Names<BandGrowth> growths = {
    {BandGrowth::None, "none"}, {BandGrowth::Stretch, "stretch"}, {BandGrowth::Shift, "shift"}};

template <typename E> QString nameOf(const Names<E> &names, E value) {
    for (const auto &[v, n] : names)
        if (v == value)
            return QString::fromLatin1(n);
    return {};
}

QString colorText(const QColor &color) {
    if (!color.isValid())
        return QStringLiteral("none");
    return color.alpha() == 255 ? color.name(QColor::HexRgb) : color.name(QColor::HexArgb);
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// ---- writing ---------------------------------------------------------------------------

class Writer {
public:
    explicit Writer(QByteArray *out)
        : m_xml(out) {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(1);
    }

    void write(const Report &report) {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(RootElement);
        m_xml.writeAttribute(QStringLiteral("version"), QString::number(ReportFileVersion));
        m_xml.writeAttribute(QStringLiteral("printer"), report.printerName);
        m_xml.writeAttribute(QStringLiteral("previewZoom"), QString::number(report.previewZoom));
        for (const ReportPage &page : report.pages)
            write(page);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void attr(const char *name, const QString &value) { m_xml.writeAttribute(QLatin1String(name), value); }
    void units(const char *name, int value) { attr(name, UnitsToText(value)); }
    void flag(const char *name, bool value) { attr(name, boolText(value)); }

    void rect(const QString &name, const ReportRect &r) {
        attr("name", name);
        units("left", r.left);
        units("top", r.top);
        units("width", r.width);
        units("height", r.height);
    }

    void font(const ReportFont &f) {
        attr("fontFamily", f.family);
        attr("fontSize", QString::number(f.pointSize, 'g', QLocale::FloatingPointShortest));
        flag("fontBold", f.bold);
        flag("fontItalic", f.italic);
        flag("fontUnderline", f.underline);
        attr("fontColor", colorText(f.color));
    }

    void pen(const char *prefix, const ReportPen &p) {
        const QByteArray base(prefix);
        units(base + "Width", p.width);
        attr(base + "Color", colorText(p.color));
        attr(base + "Style", nameOf(lineStyles, p.style));
    }

    void tail(BandGrowth growth, bool visible) {
        attr("bandGrowth", nameOf(growths, growth));
        flag("visible", visible);
    }

    void write(const ReportPage &page) {
        m_xml.writeStartElement(QStringLiteral("Page"));
        attr("name", page.name);
        units("paperWidth", page.paperWidth);
        units("paperHeight", page.paperHeight);
        units("leftMargin", page.leftMargin);
        units("topMargin", page.topMargin);
        units("rightMargin", page.rightMargin);
        units("bottomMargin", page.bottomMargin);
        font(page.font);
        for (const ReportBand &band : page.bands)
            write(band);
        m_xml.writeEndElement();
    }

    void write(const ReportBand &band) {
        m_xml.writeStartElement(QStringLiteral("Band"));
        attr("name", band.name);
        attr("kind", nameOf(bandKinds, band.kind));
        units("height", band.height);
        attr("dataSet", band.dataSet);
        flag("visible", band.visible);
        flag("canGrow", band.canGrow);
        attr("rowsPerPage", QString::number(band.rowsPerPage));
        attr("fillerBand", band.fillerBand);
        for (const ReportObject &object : band.objects)
            std::visit([this](const auto &o) { write(o); }, object);
        m_xml.writeEndElement();
    }

    void write(const MemoObject &memo) {
        m_xml.writeEmptyElement(QStringLiteral("Memo"));
        rect(memo.name, memo.rect);
        attr("text", memo.text);
        font(memo.font);
        attr("hAlign", nameOf(hAligns, memo.hAlign));
        attr("vAlign", nameOf(vAligns, memo.vAlign));
        attr("displayFormat", memo.displayFormat);
        flag("allowExpressions", memo.allowExpressions);
        flag("wordWrap", memo.wordWrap);
        flag("autoWidth", memo.autoWidth);
        flag("canGrow", memo.canGrow);
        flag("shrinkToFit", memo.shrinkToFit);
        attr("minFontSize", QString::number(memo.minFontSize, 'g', QLocale::FloatingPointShortest));
        attr("bandAlign", nameOf(bandAligns, memo.bandAlign));
        units("gapX", memo.gapX);
        units("gapY", memo.gapY);
        flag("frameLeft", memo.frameLeft);
        flag("frameTop", memo.frameTop);
        flag("frameRight", memo.frameRight);
        flag("frameBottom", memo.frameBottom);
        pen("frame", memo.frame);
        attr("fill", colorText(memo.fill));
        tail(memo.bandGrowth, memo.visible);
    }

    void write(const LineObject &line) {
        m_xml.writeEmptyElement(QStringLiteral("Line"));
        rect(line.name, line.rect);
        pen("line", line.pen);
        tail(line.bandGrowth, line.visible);
    }

    void write(const RectangleObject &rectangle) {
        m_xml.writeEmptyElement(QStringLiteral("Rectangle"));
        rect(rectangle.name, rectangle.rect);
        pen("line", rectangle.pen);
        attr("fill", colorText(rectangle.fill));
        tail(rectangle.bandGrowth, rectangle.visible);
    }

    void write(const PictureObject &picture) {
        m_xml.writeEmptyElement(QStringLiteral("Picture"));
        rect(picture.name, picture.rect);
        flag("keepAspect", picture.keepAspect);
        tail(picture.bandGrowth, picture.visible);
        attr("data", QString::fromLatin1(picture.imageData.toBase64()));
    }

    QXmlStreamWriter m_xml;
};

// ---- reading ---------------------------------------------------------------------------

[[noreturn]] void fail(const QXmlStreamReader &xml, const QString &what) {
    throw ReportError(QStringLiteral("第%1行：%2").arg(xml.lineNumber()).arg(what));
}

// The attributes of the current element: each read once, none unknown, every value checked.
class Attributes {
public:
    Attributes(const QXmlStreamReader &xml, std::initializer_list<const char *> known)
        : m_xml(xml)
        , m_attributes(xml.attributes()) {
        for (const QXmlStreamAttribute &a : m_attributes) {
            bool ok = false;
            for (const char *k : known)
                ok = ok || a.name() == QLatin1String(k);
            if (!ok)
                fail(m_xml, QStringLiteral("元素“%1”没有属性“%2”。").arg(xml.name(), a.name()));
        }
    }

    bool has(const char *name) const { return m_attributes.hasAttribute(QLatin1String(name)); }
    QString text(const char *name, const QString &fallback = {}) const {
        return has(name) ? m_attributes.value(QLatin1String(name)).toString() : fallback;
    }

    int units(const char *name, int fallback) const {
        if (!has(name))
            return fallback;
        int value = 0;
        if (!TextToUnits(text(name), value))
            bad(name);
        return value;
    }

    int integer(const char *name, int fallback) const {
        if (!has(name))
            return fallback;
        bool ok = false;
        const int value = text(name).toInt(&ok);
        if (!ok)
            bad(name);
        return value;
    }

    double number(const char *name, double fallback) const {
        if (!has(name))
            return fallback;
        bool ok = false;
        const double value = text(name).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            bad(name);
        return value;
    }

    bool flag(const char *name, bool fallback) const {
        if (!has(name))
            return fallback;
        const QString value = text(name);
        if (value != QLatin1String("true") && value != QLatin1String("false"))
            bad(name);
        return value == QLatin1String("true");
    }

    QColor color(const char *name, const QColor &fallback) const {
        if (!has(name))
            return fallback;
        const QString value = text(name);
        if (value == QLatin1String("none"))
            return QColor();
        const QColor color = QColor::fromString(value);
        if (!value.startsWith(u'#') || !color.isValid())
            bad(name);
        return color;
    }

    template <typename E> E choice(const char *name, const Names<E> &names, E fallback) const {
        if (!has(name))
            return fallback;
        const QString value = text(name);
        for (const auto &[v, n] : names)
            if (value == QLatin1String(n))
                return v;
        bad(name);
    }

private:
    [[noreturn]] void bad(const char *name) const {
        fail(m_xml, QStringLiteral("属性“%1”的值“%2”无效。").arg(QLatin1String(name), text(name)));
    }

    const QXmlStreamReader &m_xml;
    const QXmlStreamAttributes m_attributes;
};

class Reader {
public:
    explicit Reader(const QByteArray &xml)
        : m_xml(xml) {}

    Report read() {
        if (!m_xml.readNextStartElement())
            failXml(QStringLiteral("不是报表文件。"));
        if (m_xml.name() != RootElement)
            fail(m_xml, QStringLiteral("不是报表文件（根元素为“%1”）。").arg(m_xml.name()));
        Report report;
        {
            const Attributes a(m_xml, {"version", "printer", "previewZoom"});
            if (!a.has("version"))
                fail(m_xml, QStringLiteral("缺少版本号。"));
            const int version = a.integer("version", 0);
            if (version > ReportFileVersion)
                fail(m_xml, QStringLiteral("报表文件的版本%1比本程序新（本程序读取版本%2）。")
                                .arg(version)
                                .arg(ReportFileVersion));
            if (version < 1)
                fail(m_xml, QStringLiteral("版本号“%1”无效。").arg(a.text("version")));
            report.printerName = a.text("printer");
            report.previewZoom = a.integer("previewZoom", report.previewZoom);
        }
        while (m_xml.readNextStartElement()) {
            expect(QStringLiteral("Page"));
            report.pages.append(readPage());
        }
        if (m_xml.hasError())
            failXml(QString());
        m_xml.readNext();
        while (!m_xml.atEnd() && !m_xml.hasError()) // only comments and blanks may follow
            m_xml.readNext();
        if (m_xml.hasError())
            failXml(QString());
        return report;
    }

private:
    [[noreturn]] void failXml(const QString &fallback) {
        fail(m_xml,
             m_xml.hasError() ? QStringLiteral("不是有效的XML（%1）。").arg(m_xml.errorString()) : fallback);
    }

    void expect(const QString &element) {
        if (m_xml.name() != element)
            fail(m_xml, QStringLiteral("此处不能有元素“%1”。").arg(m_xml.name()));
    }

    static ReportFont readFont(const Attributes &a, const ReportFont &fallback) {
        ReportFont f;
        f.family = a.text("fontFamily", fallback.family);
        f.pointSize = a.number("fontSize", fallback.pointSize);
        f.bold = a.flag("fontBold", fallback.bold);
        f.italic = a.flag("fontItalic", fallback.italic);
        f.underline = a.flag("fontUnderline", fallback.underline);
        f.color = a.color("fontColor", fallback.color);
        return f;
    }

    static ReportRect readRect(const Attributes &a) {
        return {a.units("left", 0), a.units("top", 0), a.units("width", 0), a.units("height", 0)};
    }

    static ReportPen readPen(const Attributes &a, const char *prefix) {
        const QByteArray base(prefix);
        ReportPen p;
        p.width = a.units(base + "Width", p.width);
        p.color = a.color(base + "Color", p.color);
        p.style = a.choice(base + "Style", lineStyles, p.style);
        return p;
    }

    ReportPage readPage() {
        ReportPage page;
        {
            const Attributes a(m_xml, {"name", "paperWidth", "paperHeight", "leftMargin", "topMargin",
                                       "rightMargin", "bottomMargin", "fontFamily", "fontSize", "fontBold",
                                       "fontItalic", "fontUnderline", "fontColor"});
            page.name = a.text("name");
            page.paperWidth = a.units("paperWidth", page.paperWidth);
            page.paperHeight = a.units("paperHeight", page.paperHeight);
            page.leftMargin = a.units("leftMargin", page.leftMargin);
            page.topMargin = a.units("topMargin", page.topMargin);
            page.rightMargin = a.units("rightMargin", page.rightMargin);
            page.bottomMargin = a.units("bottomMargin", page.bottomMargin);
            page.font = readFont(a, page.font);
        }
        while (m_xml.readNextStartElement()) {
            expect(QStringLiteral("Band"));
            page.bands.append(readBand(page.font));
        }
        return page;
    }

    ReportBand readBand(const ReportFont &pageFont) {
        ReportBand band;
        {
            const Attributes a(m_xml, {"name", "kind", "height", "dataSet", "visible", "canGrow",
                                       "rowsPerPage", "fillerBand"});
            band.name = a.text("name");
            if (!a.has("kind"))
                fail(m_xml, QStringLiteral("带区“%1”缺少类型。").arg(band.name));
            band.kind = a.choice("kind", bandKinds, band.kind);
            band.height = a.units("height", band.height);
            band.dataSet = a.text("dataSet");
            band.visible = a.flag("visible", band.visible);
            band.canGrow = a.flag("canGrow", band.canGrow);
            band.rowsPerPage = a.integer("rowsPerPage", band.rowsPerPage);
            band.fillerBand = a.text("fillerBand");
        }
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("Memo"))
                band.objects.append(readMemo(pageFont));
            else if (name == QLatin1String("Line"))
                band.objects.append(readLine());
            else if (name == QLatin1String("Rectangle"))
                band.objects.append(readRectangle());
            else if (name == QLatin1String("Picture"))
                band.objects.append(readPicture());
            else
                expect(QStringLiteral("Memo"));
            if (m_xml.readNextStartElement()) // objects hold no elements
                expect(QString());
        }
        return band;
    }

    MemoObject readMemo(const ReportFont &pageFont) {
        const Attributes a(m_xml, {"name",        "left",       "top",           "width",
                                   "height",      "text",       "fontFamily",    "fontSize",
                                   "fontBold",    "fontItalic", "fontUnderline", "fontColor",
                                   "hAlign",      "vAlign",     "displayFormat", "allowExpressions",
                                   "wordWrap",    "autoWidth",  "canGrow",       "shrinkToFit",
                                   "minFontSize", "bandAlign",  "gapX",          "gapY",
                                   "frameLeft",   "frameTop",   "frameRight",    "frameBottom",
                                   "frameWidth",  "frameColor", "frameStyle",    "fill",
                                   "bandGrowth",  "visible"});
        MemoObject m;
        m.name = a.text("name");
        m.rect = readRect(a);
        m.text = a.text("text");
        m.font = readFont(a, pageFont);
        m.hAlign = a.choice("hAlign", hAligns, m.hAlign);
        m.vAlign = a.choice("vAlign", vAligns, m.vAlign);
        m.displayFormat = a.text("displayFormat");
        m.allowExpressions = a.flag("allowExpressions", m.allowExpressions);
        m.wordWrap = a.flag("wordWrap", m.wordWrap);
        m.autoWidth = a.flag("autoWidth", m.autoWidth);
        m.canGrow = a.flag("canGrow", m.canGrow);
        m.shrinkToFit = a.flag("shrinkToFit", m.shrinkToFit);
        m.minFontSize = a.number("minFontSize", m.minFontSize);
        m.bandAlign = a.choice("bandAlign", bandAligns, m.bandAlign);
        m.gapX = a.units("gapX", m.gapX);
        m.gapY = a.units("gapY", m.gapY);
        m.frameLeft = a.flag("frameLeft", m.frameLeft);
        m.frameTop = a.flag("frameTop", m.frameTop);
        m.frameRight = a.flag("frameRight", m.frameRight);
        m.frameBottom = a.flag("frameBottom", m.frameBottom);
        m.frame = readPen(a, "frame");
        m.fill = a.color("fill", m.fill);
        m.bandGrowth = a.choice("bandGrowth", growths, m.bandGrowth);
        m.visible = a.flag("visible", m.visible);
        return m;
    }

    LineObject readLine() {
        const Attributes a(m_xml, {"name", "left", "top", "width", "height", "lineWidth", "lineColor",
                                   "lineStyle", "bandGrowth", "visible"});
        LineObject l;
        l.name = a.text("name");
        l.rect = readRect(a);
        l.pen = readPen(a, "line");
        l.bandGrowth = a.choice("bandGrowth", growths, l.bandGrowth);
        l.visible = a.flag("visible", l.visible);
        return l;
    }

    RectangleObject readRectangle() {
        const Attributes a(m_xml, {"name", "left", "top", "width", "height", "lineWidth", "lineColor",
                                   "lineStyle", "fill", "bandGrowth", "visible"});
        RectangleObject r;
        r.name = a.text("name");
        r.rect = readRect(a);
        r.pen = readPen(a, "line");
        r.fill = a.color("fill", r.fill);
        r.bandGrowth = a.choice("bandGrowth", growths, r.bandGrowth);
        r.visible = a.flag("visible", r.visible);
        return r;
    }

    PictureObject readPicture() {
        const Attributes a(
            m_xml, {"name", "left", "top", "width", "height", "keepAspect", "bandGrowth", "visible", "data"});
        PictureObject p;
        p.name = a.text("name");
        p.rect = readRect(a);
        p.keepAspect = a.flag("keepAspect", p.keepAspect);
        p.bandGrowth = a.choice("bandGrowth", growths, p.bandGrowth);
        p.visible = a.flag("visible", p.visible);
        const auto decoded = QByteArray::fromBase64Encoding(a.text("data").toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            fail(m_xml, QStringLiteral("图片“%1”的数据无效。").arg(p.name));
        p.imageData = *decoded;
        return p;
    }

    QXmlStreamReader m_xml;
};

} // namespace

Report ReadReportXml(const QByteArray &xml) {
    Report report = Reader(xml).read();
    ValidateReport(report);
    return report;
}

QByteArray WriteReportXml(const Report &report) {
    QByteArray out;
    Writer(&out).write(report);
    return out;
}

Report LoadReportFile(const QString &fileName) {
    const QString shown = QFileInfo(fileName).fileName();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("无法打开报表文件“%1”：%2").arg(shown, file.errorString()));
    try {
        return ReadReportXml(file.readAll());
    } catch (const ReportError &e) {
        throw ReportError(QStringLiteral("报表文件“%1”无法读取：%2").arg(shown, e.message()));
    }
}

void SaveReportFile(const Report &report, const QString &fileName) {
    ValidateReport(report);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(WriteReportXml(report)) < 0 || !file.commit())
        throw ReportError(QStringLiteral("无法保存报表文件“%1”：%2").arg(fileName, file.errorString()));
}
