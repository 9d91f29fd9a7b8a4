#include "queries/HistoryFilter.h"

#include "data/DateText.h"
#include "data/StatementRoutines.h"

#include <QRegularExpression>

const QStringList HistoryFieldTexts{
    QStringLiteral("按单据编号查询"), QStringLiteral("按开单日期查询"), QStringLiteral("按开单人查询"),
    QStringLiteral("按交款单位查询"), QStringLiteral("按联系人查询"),   QStringLiteral("按联系电话查询"),
    QStringLiteral("按地址查询"),     QStringLiteral("按主管查询"),     QStringLiteral("按会计查询"),
    QStringLiteral("按收款人查询"),   QStringLiteral("按收款方式查询"), QStringLiteral("按总金额查询"),
    QStringLiteral("按备注查询"),     QStringLiteral("按商品编号查询"), QStringLiteral("按商品名称查询"),
    QStringLiteral("按商品备注查询"), QStringLiteral("显示全部"),
};

HistoryRange HistoryRangeOf(const QString &text) {
    const qsizetype index = HistoryRangeTexts.indexOf(text);
    return index < 0 ? HistoryRange::Today : static_cast<HistoryRange>(index);
}

QString RangeCondition(HistoryRange range, const QDate &today) {
    switch (range) {
    case HistoryRange::Today:
        return QStringLiteral("billdate=#") + DateText(today) + u'#';
    case HistoryRange::ThisMonth:
        return QStringLiteral("Month(billdate)=Month(Now())");
    case HistoryRange::All:
        break;
    }
    return QStringLiteral("saleid>0");
}

QString RangeSuffix(HistoryRange range, const QDate &today) {
    switch (range) {
    case HistoryRange::Today:
        return QStringLiteral(" and billdate=#") + DateText(today) + u'#';
    case HistoryRange::ThisMonth:
        return QStringLiteral(" and Month(billdate)=Month(now())");
    case HistoryRange::All:
        break;
    }
    return QStringLiteral(" and saleid>0");
}

bool IsAmountText(const QString &text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return number.match(text).hasMatch();
}

namespace {

// A condition on one of the receipt's own columns.
QString like(const QString &column, const QString &t) {
    return QStringLiteral(" (") + column + QStringLiteral(" like '%") + t + QStringLiteral("%')");
}

// A condition on the receipt's lines.
QString lineLike(const QString &column, const QString &t) {
    return QStringLiteral(
               " exists (select 1 from ss_saledetail where ss_sale.saleid=ss_saledetail.saleid and "
               "(ss_saledetail.") +
           column + QStringLiteral(" like '%") + t + QStringLiteral("%'))");
}

} // namespace

HistorySearch BuildHistorySearch(int field, const QString &text, HistoryRange range, const QDate &today) {
    const QString t = QuoteSql(text);
    HistorySearch search;
    if (t.isEmpty()) {
        search.filter = QStringLiteral(" 1=1");
    } else {
        if (field == AmountField && !IsAmountText(t)) {
            search.outcome = HistorySearch::Outcome::NotANumber;
            return search;
        }
        switch (field) {
        case 0:
            search.filter = QStringLiteral(" billcode like '%") + t + QStringLiteral("%'");
            break;
        case 1:
            search.filter = QStringLiteral(" billdate like '%") + t + QStringLiteral("%'");
            break;
        case 2:
            search.filter = like(QStringLiteral("opname"), t);
            break;
        case 3:
            search.filter = like(QStringLiteral("companyname"), t);
            break;
        case 4:
            search.filter = like(QStringLiteral("linkman"), t);
            break;
        case 5:
            search.filter = like(QStringLiteral("phone"), t);
            break;
        case 6:
            search.filter = like(QStringLiteral("adr"), t);
            break;
        case 7:
            search.filter = like(QStringLiteral("zgname"), t);
            break;
        case 8:
            search.filter = like(QStringLiteral("kjname"), t);
            break;
        case 9:
            search.filter = like(QStringLiteral("skrname"), t);
            break;
        case 10:
            search.filter = like(QStringLiteral("skfsname"), t);
            break;
        case AmountField:
            search.filter = QStringLiteral(" totalamt=") + t;
            break;
        case 12:
            search.filter = like(QStringLiteral("remark"), t);
            break;
        case 13:
            search.filter = lineLike(QStringLiteral("tablecode"), t);
            break;
        case 14:
            search.filter = lineLike(QStringLiteral("name"), t);
            break;
        case 15:
            search.filter = lineLike(QStringLiteral("remark"), t);
            break;
        default: // 显示全部 works through its change event
            return search;
        }
    }
    search.outcome = HistorySearch::Outcome::Filter;
    search.filter += RangeSuffix(range, today);
    return search;
}

QString HistoryStatement(const QString &filter) {
    return SelectStatement(QStringLiteral("ss_sale"), QStringLiteral("*"), QStringLiteral("saleid desc"),
                           QStringLiteral(" and ") + filter);
}

QString HistoryRowStatement(int saleId) {
    return SelectStatement(QStringLiteral("ss_sale"), QStringLiteral("*"), QStringLiteral("saleid desc"),
                           QStringLiteral(" and saleid=") + QString::number(saleId));
}

QString HistoryLinesStatement(int saleId) {
    return SelectStatement(QStringLiteral("ss_saledetail"), QStringLiteral("*"),
                           QStringLiteral("saledetailid asc"),
                           QStringLiteral("and saleid=") + QString::number(saleId));
}
