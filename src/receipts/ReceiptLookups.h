#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The search of the paying-party lookup (table aa_company) and of the goods lookup (aa_goods):
// the first ten rows by code whose code, name or spell code contains the typed text; the first
// ten of all when nothing is typed. The text is quoted, so a quote in it is searched for.
QString LookupStatement(const QString &table, const QString &typed);

// The goods item of a scanned barcode.
QString BarcodeStatement(const QString &barcode);

// The statement pieces of a pick list, as the select routine joins them.
struct PickList {
    QString table;
    QString fields;
    QString condition;
    QString order;
};

namespace PickLists {
inline const PickList Supervisors{QStringLiteral("aa_staff"), QStringLiteral("name"),
                                  QStringLiteral(" and type like '%主管%'"), QStringLiteral("name asc")};
inline const PickList Accountants{QStringLiteral("aa_staff"), QStringLiteral("name"),
                                  QStringLiteral(" and type like '%会计%'"), QStringLiteral("name asc")};
inline const PickList Payees{QStringLiteral("aa_staff"), QStringLiteral("name"),
                             QStringLiteral(" and type like '%收款人%'"), QStringLiteral("name asc")};
inline const PickList PaymentMethods{QStringLiteral("aa_chargetype"), QStringLiteral("name"), QString(),
                                     QStringLiteral("name asc")};
inline const PickList Units{QStringLiteral("aa_unit"), QStringLiteral("name"), QString(),
                            QStringLiteral("name asc")};
inline const PickList Remarks{QStringLiteral("aa_remark"), QStringLiteral("name"), QString(),
                              QStringLiteral("name asc")};
inline const PickList PrintStyles{QStringLiteral("pr_printcfg"), QStringLiteral("RecID,stylename"), QString(),
                                  QStringLiteral("defaultstyle asc,RecID asc")};
} // namespace PickLists

// The rows of a pick list, each as the texts of its columns, through SelectRows on ShareQuery1
// (closed afterwards). Empty when the select fails.
QList<QStringList> ReadPickList(const PickList &list);
